#pragma once

// The program's HTTP client object: default headers, URL normalisation and its
// own following of "Location" redirects on top of one HttpTransport.
//
// Every platform call creates one, uses it on one thread and destroys it:
//   HttpRequest r;
//   r.SetTimeouts(15000, 15000, 15000, 15000);
//   r.Open("GET", url);
//   r.Send();
//   QString reply = r.ResponseBodyText();
// On the UI thread Send keeps the windows painting but takes no user input
// until the reply or a time-out.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QVariant>
#include <functional>

#include <memory>
#include <optional>

#include "platform/http_transport.h"

namespace lanxun {

// Scheme ("http://" or "https://"), host, port and path ("/..." at least) of a
// URL, read the way RedirectLocation needs them; nothing for an empty URL.
struct UrlParts {
    QString scheme;
    QString host;
    int port = 80;
    QString path;
};
std::optional<UrlParts> ParseUrl(const QString& url);

// The URL `Open` uses: "http://" is put before a URL that names no scheme.
QString NormaliseUrl(const QString& url);

// The "Location" of a response's header block (GBK bytes), trimmed; with
// `absolute`, made absolute against `currentUrl`. Empty when there is none.
QString RedirectLocationIn(const QByteArray& headers, const QString& currentUrl, bool absolute);

// Each cookie of the "Set-Cookie" lines of a header block (GBK bytes): its
// name, "=" and value, without the attributes after the first ";".
QList<QByteArray> ScanSetCookies(const QByteArray& headers);

class HttpRequest {
public:
    static constexpr const char* kDefaultUserAgent =
        "Mozilla/5.0 (compatible; MSIE 10.0; Windows NT 6.2)";
    static constexpr const char* kFormContentType = "application/x-www-form-urlencoded";
    static constexpr int kIgnoreAllCertificateErrors = 0x3300;
    static constexpr int kMaxRedirects = 20;

    HttpRequest();
    ~HttpRequest();
    // A copy shares the component.
    HttpRequest(const HttpRequest&) = default;
    HttpRequest& operator=(const HttpRequest&) = default;

    void ResetDefaults();
    void ApplyDefaultHeaders(bool hasBody);
    void BeforeSend();
    void AfterSend(bool keepOnClear);
    void FollowRedirect(bool keepOnClear);
    // With a replacement, the object uses that component from now on.
    std::shared_ptr<HttpTransport> Component(std::shared_ptr<HttpTransport> replacement = {});
    QString LastError() const;
    void SetAutoHeaders(bool on = true);
    // A fresh component with the defaults.
    void Reset();

    void Open(const QString& method, const QString& url, bool async = false);
    // Always true: a request is judged by its response.
    bool Send(const std::optional<QString>& body = std::nullopt, bool keepOnClear = true);
    bool SendBytes(const std::optional<QByteArray>& body = std::nullopt, bool keepOnClear = true);
    bool WaitForResponse(int timeoutMs = -1);
    void Abort();

    QByteArray ResponseBody();
    // The body as GBK text, cut at the first zero byte: the reply of a platform call.
    QString ResponseBodyText();
    QString ResponseText();
    // The body read as UTF-8, as it reads in code page 936 (GBK) or 65001 (UTF-8).
    QString ResponseBodyUtf8(int codePage = 936);
    std::unique_ptr<QIODevice> ResponseStream();
    int Status();
    QString StatusText();
    QString GetAllResponseHeaders();
    QString GetResponseHeader(const QString& name);
    QString RedirectLocation(bool absolute = false);

    void SetTimeouts(int resolve = 10000, int connect = 15000, int send = 120000,
                     int receive = 300000);
    // Writes the option when a value is given, then reads it back.
    QVariant Option(int index, const QVariant& value = {});
    void SetFollowRedirects(bool on = true);
    void SetIgnoreCertificateErrors(bool on = true);
    void SetRequestHeader(const QString& name, const QString& value);

    // Cookies. Mode 0: none; 1: the object's own jar; 2: the process-wide
    // CookieStore. The jar is "; " followed by "name=value; " per cookie.
    void SetCookieMode(int mode = 1);
    void MergeResponseCookies(bool keepOnClear);
    void StoreResponseCookies(bool keepOnClear);
    void StoreCookies(const QString& text);
    void ApplyJarCookieHeader();
    void ApplyStoreCookieHeader();
    // The non-deleting "Set-Cookie" cookies of the last response, "a=1; b=2".
    QString ResponseCookies();
    QString ResponseCookie(const QString& name);
    void SetCookies(const QString& text);
    // Mode 1 only: with a replacement the jar becomes it (returned unchanged);
    // without, the jar's "Cookie" header value.
    QString Cookies(const std::optional<QString>& replacement = std::nullopt);
    QString Cookie(const QString& name, bool withName = false);
    bool MergeCookies(const QString& text);
    bool RemoveCookies(const QString& text);

    // Proxy and credentials. An empty address means direct; credentials reach
    // the component just before the next send.
    void SetProxy(const QString& address, const QString& user = {}, const QString& password = {});
    // `flags`: 0 for the server, 1 for the proxy.
    void SetCredentials(const QString& user, const QString& password, int flags = 0);
    void SetClientCertificate(const QString& name);
    void SetAutoLogonPolicy(int policy);

    // "Name: value" lines separated by "\r\n".
    void SetRequestHeaders(const QString& block);
    // Sends the header with the value "-" instead of leaving it out.
    void SuppressRequestHeader(const QString& name);
    void SetUserAgent(const QString& agent = QString::fromLatin1(kDefaultUserAgent));
    void SetReferer(const std::optional<QString>& referer = std::nullopt);
    void SetOrigin(const std::optional<QString>& origin = std::nullopt);
    void SetAccept(const QString& accept = QStringLiteral("*/*"));
    void SetAcceptLanguage(const QString& language = QStringLiteral("zh-cn"));
    void SetContentType(const QString& type = QString::fromLatin1(kFormContentType));
    void SetAjaxHeader();
    void SetClientAddress(const QString& address);

    // A request with up to `attempts` tries while the status is 0, 504 or 407;
    // true when the last status is 200, 301 or 302. Empty texts are not given.
    bool Get(const QString& url, const QString& cookies = {}, const QString& headers = {},
             const QString& proxy = {}, int attempts = 5);
    bool Post(const QString& url, const QString& body, const QString& cookies = {},
              const QString& headers = {}, const QString& proxy = {}, int attempts = 5);
    bool PostBytes(const QString& url, const QByteArray& body, const QString& cookies = {},
                   const QString& headers = {}, const QString& proxy = {}, int attempts = 5);

    // The object's state, for callers that need to look at it.
    QString Url() const { return url_; }
    bool IsPost() const { return isPost_; }
    bool IsAsync() const { return async_; }
    bool AutoHeaders() const { return autoHeaders_; }
    bool UserAgentSet() const { return userAgentSet_; }
    bool ContentTypeSet() const { return contentTypeSet_; }
    int CookieMode() const { return cookieMode_; }
    QString CookieJar() const;
    int CookieJarLength() const { return cookieJarLength_; }
    bool CookiesChanged() const { return cookiesChanged_; }
    bool ProxyCredentialsPending() const { return proxyCredentialsPending_; }
    QString ProxyUser() const { return proxyUser_; }
    QString ProxyPassword() const { return proxyPassword_; }
    QString ProxyAddress() const { return proxyAddress_; }
    bool IgnoreCertificateErrors() const { return ignoreCertificateErrors_; }
    bool FollowRedirects() const { return followRedirects_; }
    int RedirectCount() const { return redirectCount_; }
    bool ComponentRedirects() const { return componentRedirects_; }

private:
    // The one send of Send and SendBytes, whose bodies differ only in type.
    template <typename Body>
    void SendThroughComponent(const std::optional<Body>& body, bool keepOnClear);
    // Where cookie handling and the proxy act around a send.
    void HandOverProxyCredentials();
    void ApplyCookieHeader();
    void TakeOverResponseCookies(bool keepOnClear);
    void RenewComponentIfCookiesChanged();
    bool DivertCookieHeader(const QString& name, const QString& value);
    // A caller's "User-Agent" or "Content-Type" keeps the default one out.
    void MarkCallerHeader(const QString& name);
    void SetJar(QByteArray jar);
    // Runs `edit` on a copy of the jar for each cookie of `text`; the jar is replaced
    // when an edit changed it. Cookie mode 1 only.
    bool EditJar(const QString& text,
                 const std::function<bool(QByteArray& jar, const QByteArray& cookie)>& edit);
    enum class Method { kGet, kPostText, kPostBytes };
    bool Request(Method method, const QString& url, const QString& text, const QByteArray& bytes,
                 const QString& cookies, const QString& headers, const QString& proxy,
                 int attempts);

    std::shared_ptr<HttpTransport> component_;
    QString url_;
    bool isPost_ = false;
    bool async_ = false;
    bool autoHeaders_ = true;
    bool userAgentSet_ = false;
    bool contentTypeSet_ = false;
    int cookieMode_ = 0;
    QByteArray cookieJar_ = "; ";  // GBK
    int cookieJarLength_ = 2;
    bool cookiesChanged_ = false;
    bool proxyCredentialsPending_ = false;
    QString proxyUser_;
    QString proxyPassword_;
    QString proxyAddress_;
    bool ignoreCertificateErrors_ = true;
    bool followRedirects_ = true;
    int redirectCount_ = 0;
    bool componentRedirects_ = true;
};

}  // namespace lanxun
