#include "api/http_request.h"

#include <QBuffer>
#include <QStringDecoder>

#include <algorithm>

#include "api/header_lines.h"
#include "platform/gbk.h"

namespace lanxun {
namespace {

bool StartsWithNoCase(const QByteArray& bytes, const char* prefix) {
    return bytes.startsWith(prefix) ||
           bytes.left(static_cast<qsizetype>(qstrlen(prefix))).toLower() == prefix;
}

// The integer value of the leading digits ("81/" reads 81, "" reads 0).
int LeadingInteger(const QByteArray& text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || value > 100000) {
            break;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

QString NormaliseUrl(const QString& url) {
    const bool absolute = url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) ||
                          url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive);
    if (GbkByteLength(url) < 8 || !absolute) {
        return QStringLiteral("http://") + url;
    }
    return url;
}

std::optional<UrlParts> ParseUrl(const QString& url) {
    if (url.isEmpty()) {
        return std::nullopt;
    }
    QByteArray bytes = ToGbk(url);
    QByteArray scheme = "http://";
    qsizetype hostStart = 0;
    if (bytes.size() >= 8) {
        if (StartsWithNoCase(bytes, "https://")) {
            scheme = "https://";
            hostStart = 8;
        } else if (StartsWithNoCase(bytes, "http://")) {
            hostStart = 7;
        }
    }
    qsizetype slash = GbkIndexOf(bytes, "/", hostStart);
    if (slash < 0) {
        bytes += '/';
        slash = bytes.size() - 1;
    }
    // A port is looked for in the last seven characters before the path, but
    // never inside the scheme: a short host must not take "http:" for its port.
    const qsizetype from = bytes.size() < 8 ? 0 : std::max(slash - 7, hostStart);
    const qsizetype colon = GbkIndexOf(bytes, ":", from);
    UrlParts parts;
    parts.scheme = QString::fromLatin1(scheme);
    qsizetype hostEnd = slash;
    if (colon < 0 || colon > slash) {
        parts.port = scheme == "https://" ? 443 : 80;
    } else {
        parts.port = LeadingInteger(bytes.mid(colon + 1, slash - colon - 1));
        if (parts.port < 11) {
            parts.port = 80;
        }
        hostEnd = colon;
    }
    parts.host = FromGbk(bytes.mid(hostStart, hostEnd - hostStart));
    parts.path = FromGbk(bytes.mid(slash));
    return parts;
}

HttpRequest::HttpRequest() : component_(std::make_shared<HttpTransport>()) {
    ResetDefaults();
}

HttpRequest::~HttpRequest() = default;

void HttpRequest::ResetDefaults() {
    autoHeaders_ = true;
    cookieMode_ = 0;
    followRedirects_ = true;
    componentRedirects_ = true;
    ignoreCertificateErrors_ = true;
    component_->SetOption(HttpTransport::kOptionSslErrorIgnoreFlags, kIgnoreAllCertificateErrors);
    proxyAddress_.clear();
    proxyUser_.clear();
    proxyPassword_.clear();
    proxyCredentialsPending_ = false;
    cookieJar_ = "; ";
    cookieJarLength_ = 2;
}

void HttpRequest::ApplyDefaultHeaders(bool hasBody) {
    if (!userAgentSet_) {
        component_->SetRequestHeader(QStringLiteral("User-Agent"),
                                     QString::fromLatin1(kDefaultUserAgent));
    }
    if (!contentTypeSet_ && (isPost_ || hasBody)) {
        component_->SetRequestHeader(QStringLiteral("Content-Type"),
                                     QString::fromLatin1(kFormContentType));
    }
}

void HttpRequest::BeforeSend() {
    HandOverProxyCredentials();
    ApplyCookieHeader();
}

void HttpRequest::AfterSend(bool keepOnClear) {
    if (async_) {
        return;
    }
    TakeOverResponseCookies(keepOnClear);
    if (followRedirects_) {
        FollowRedirect(false);
    }
}

void HttpRequest::FollowRedirect(bool keepOnClear) {
    // Only a redirect status leads on; the "Location" of a 201 names what was
    // created and is no reason to leave the response.
    const int status = Status();
    const QString location = status >= 300 && status <= 399 ? RedirectLocation(true) : QString();
    if (location.isEmpty()) {
        redirectCount_ = 0;
        return;
    }
    if (++redirectCount_ > kMaxRedirects) {
        redirectCount_ = 0;
        return;
    }
    Open(QStringLiteral("GET"), location, false);
    Send(std::nullopt, keepOnClear);
}

std::shared_ptr<HttpTransport> HttpRequest::Component(std::shared_ptr<HttpTransport> replacement) {
    if (replacement) {
        component_ = std::move(replacement);
    }
    return component_;
}

QString HttpRequest::LastError() const {
    return component_->LastError();
}

void HttpRequest::SetAutoHeaders(bool on) {
    autoHeaders_ = on;
}

void HttpRequest::Reset() {
    component_ = std::make_shared<HttpTransport>();
    ResetDefaults();
}

void HttpRequest::Open(const QString& method, const QString& url, bool async) {
    const QString verb = method.isEmpty() ? QStringLiteral("GET") : method;
    async_ = async;
    if (autoHeaders_) {
        isPost_ = verb.toUpper() == QLatin1String("POST");
        userAgentSet_ = false;
        contentTypeSet_ = false;
    }
    url_ = NormaliseUrl(url);
    RenewComponentIfCookiesChanged();
    component_->Open(verb, url_, async);
}

template <typename Body>
void HttpRequest::SendThroughComponent(const std::optional<Body>& body, bool keepOnClear) {
    BeforeSend();
    if (autoHeaders_) {
        ApplyDefaultHeaders(body.has_value());
    }
    if (body) {
        component_->Send(*body);
    } else {
        component_->Send();
    }
    AfterSend(keepOnClear);
}

bool HttpRequest::Send(const std::optional<QString>& body, bool keepOnClear) {
    SendThroughComponent(body, keepOnClear);
    return true;
}

bool HttpRequest::SendBytes(const std::optional<QByteArray>& body, bool keepOnClear) {
    SendThroughComponent(body, keepOnClear);
    return true;
}

bool HttpRequest::WaitForResponse(int timeoutMs) {
    return component_->WaitForResponse(timeoutMs);
}

void HttpRequest::Abort() {
    component_->Abort();
}

QByteArray HttpRequest::ResponseBody() {
    return component_->ResponseBody();
}

QString HttpRequest::ResponseBodyText() {
    return FromGbkUntilZero(ResponseBody());
}

QString HttpRequest::ResponseText() {
    return component_->ResponseText();
}

QString HttpRequest::ResponseBodyUtf8(int codePage) {
    const QByteArray body = ResponseBody();
    if (body.isEmpty()) {
        return {};
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(body);
    if (decoder.hasError()) {
        return {};
    }
    switch (codePage) {
        case 65001:
            return text;
        case 936:
            // What GBK cannot hold reads as "?", as it would in a GBK text.
            return FromGbk(ToGbk(text));
        default:
            return {};
    }
}

std::unique_ptr<QIODevice> HttpRequest::ResponseStream() {
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(ResponseBody());
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

int HttpRequest::Status() {
    return component_->Status();
}

QString HttpRequest::StatusText() {
    return component_->StatusText();
}

QString HttpRequest::GetAllResponseHeaders() {
    return component_->AllResponseHeaders();
}

QString HttpRequest::GetResponseHeader(const QString& name) {
    return component_->ResponseHeader(name);
}

QString RedirectLocationIn(const QByteArray& headers, const QString& currentUrl, bool absolute) {
    if (headers.isEmpty()) {
        return {};
    }
    const qsizetype p = FindHeaderLine(headers, "Location:");
    if (p < 0) {
        return {};
    }
    const qsizetype start = p + 9;
    const qsizetype end = GbkIndexOf(headers, "\r\n", start);
    if (end < 0) {
        return {};
    }
    QByteArray location = GbkTrimBlanks(headers.mid(start, end - start));
    const std::optional<UrlParts> parts = ParseUrl(currentUrl);
    if (location.isEmpty() || !absolute || !parts) {
        return FromGbk(location);
    }
    if (location.startsWith("//")) {
        // Scheme-relative: another host, same scheme.
        location = parts->scheme.toLatin1() + location.mid(2);
    } else if (location.startsWith('/')) {
        location =
            ToGbk(parts->scheme + parts->host + QLatin1Char(':') + QString::number(parts->port)) +
            location;
    } else if (!StartsWithNoCase(location, "http://") && !StartsWithNoCase(location, "https://")) {
        const QByteArray current = ToGbk(currentUrl);
        const qsizetype k = current.lastIndexOf('/');
        // A "/" of the scheme is not the end of a directory ("http://host").
        if (k < parts->scheme.size()) {
            location = current + '/' + location;
        } else {
            location = current.left(k + 1) + location;
        }
    }
    return FromGbk(location);
}

QString HttpRequest::RedirectLocation(bool absolute) {
    return RedirectLocationIn(ToGbk(GetAllResponseHeaders()), url_, absolute);
}

void HttpRequest::SetTimeouts(int resolve, int connect, int send, int receive) {
    component_->SetTimeouts(resolve, connect, send, receive);
}

QVariant HttpRequest::Option(int index, const QVariant& value) {
    if (value.isValid()) {
        component_->SetOption(index, value);
    }
    const QVariant read = component_->Option(index);
    if (index == HttpTransport::kOptionEnableRedirects && read.isValid()) {
        followRedirects_ = read.toBool();
        if (followRedirects_ && cookieMode_ > 0) {
            componentRedirects_ = false;
            component_->SetOption(HttpTransport::kOptionEnableRedirects, false);
        } else {
            componentRedirects_ = read.toBool();
        }
    }
    return read;
}

void HttpRequest::SetFollowRedirects(bool on) {
    followRedirects_ = on;
    if (on && cookieMode_ > 0) {
        return;
    }
    componentRedirects_ = on;
    component_->SetOption(HttpTransport::kOptionEnableRedirects, on);
}

void HttpRequest::SetIgnoreCertificateErrors(bool on) {
    component_->SetOption(HttpTransport::kOptionSslErrorIgnoreFlags,
                          on ? kIgnoreAllCertificateErrors : 0);
    ignoreCertificateErrors_ = on;
}

void HttpRequest::MarkCallerHeader(const QString& name) {
    if (!autoHeaders_) {
        return;
    }
    const QString lower = name.toLower();
    if (lower == QLatin1String("user-agent")) {
        userAgentSet_ = true;
    } else if (lower == QLatin1String("content-type")) {
        contentTypeSet_ = true;
    }
}

void HttpRequest::SetRequestHeader(const QString& name, const QString& value) {
    if (name.isEmpty() || DivertCookieHeader(name, value)) {
        return;
    }
    MarkCallerHeader(name);
    component_->SetRequestHeader(name, value);
}

}  // namespace lanxun
