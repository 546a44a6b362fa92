#include "api/http_request.h"

#include <QBuffer>
#include <QStringDecoder>

#include <algorithm>

#include "platform/cookie_store.h"
#include "platform/gbk.h"

namespace lanxun {
namespace {

// Byte length of the GBK character that starts at `i`.
qsizetype CharLength(const QByteArray& bytes, qsizetype i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    return (lead >= 0x81 && lead <= 0xFE && i + 1 < bytes.size()) ? 2 : 1;
}

// A blank is the ASCII space or the full-width space (A1 A1).
qsizetype BlankLength(const QByteArray& bytes, qsizetype i) {
    if (bytes[i] == ' ') {
        return 1;
    }
    if (i + 1 < bytes.size() && static_cast<unsigned char>(bytes[i]) == 0xA1 &&
        static_cast<unsigned char>(bytes[i + 1]) == 0xA1) {
        return 2;
    }
    return 0;
}

QByteArray TrimLeadingBlanks(const QByteArray& bytes) {
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype blank = BlankLength(bytes, i);
        if (blank == 0) {
            break;
        }
        i += blank;
    }
    return bytes.mid(i);
}

QByteArray TrimBlanks(const QByteArray& text) {
    const QByteArray bytes = TrimLeadingBlanks(text);
    qsizetype end = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = CharLength(bytes, i);
        const bool blank = BlankLength(bytes, i) == length;
        i += length;
        if (!blank) {
            end = i;
        }
    }
    return bytes.left(end);
}

bool StartsWithNoCase(const QByteArray& bytes, const char* prefix) {
    return bytes.startsWith(prefix) ||
           bytes.left(static_cast<qsizetype>(qstrlen(prefix))).toLower() == prefix;
}

// A header name is looked for at the start of a line only, so that
// "Content-Location:" is not taken for "Location:".
qsizetype FindHeader(const QByteArray& headers, const char* name, qsizetype from = 0) {
    for (qsizetype p = GbkIndexOf(headers, name, from, Qt::CaseInsensitive); p >= 0;
         p = GbkIndexOf(headers, name, p + 1, Qt::CaseInsensitive)) {
        if (p == 0 || headers[p - 1] == '\n') {
            return p;
        }
    }
    return -1;
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

// Each cookie of the "Set-Cookie" headers: its name, "=" and value, with the
// attributes after the first ";" left off.
QList<QByteArray> ScanSetCookies(const QByteArray& headers) {
    QList<QByteArray> cookies;
    qsizetype p = FindHeader(headers, "Set-Cookie:");
    while (p >= 0) {
        const qsizetype start = p + 11;
        qsizetype end = GbkIndexOf(headers, "\r\n", start);
        if (end < 0) {
            break;
        }
        // The ";" is looked for in this line only: a search through the rest
        // of the block for every cookie would cost the block size each time.
        const QByteArray line = headers.mid(start, end - start);
        const qsizetype semicolon = GbkIndexOf(line, ";");
        if (semicolon >= 0) {
            end = start + semicolon;
        }
        cookies << TrimLeadingBlanks(headers.mid(start, end - start));
        p = FindHeader(headers, "Set-Cookie:", end);
    }
    return cookies;
}

bool IsDeletionMarker(const QByteArray& cookie) {
    return cookie.endsWith("=deleted") || cookie.endsWith("=DELETED") ||
           cookie.endsWith("=Deleted");
}

// Pieces of a text split at ";": empty pieces between separators are kept,
// nothing after a trailing one; each piece loses its leading blanks.
QList<QByteArray> SplitCookieText(const QByteArray& text) {
    QList<QByteArray> pieces;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = GbkIndexOf(text, ";", start);
        if (end < 0) {
            end = text.size();
        }
        pieces << TrimLeadingBlanks(text.mid(start, end - start));
        start = end + 1;
    }
    return pieces;
}

QString NormaliseUrl(const QString& url) {
    const bool absolute = url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) ||
                          url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive);
    if (GbkByteLength(url) < 8 || !absolute) {
        return QStringLiteral("http://") + url;
    }
    return url;
}

}  // namespace

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

QString HttpRequest::RedirectLocation(bool absolute) {
    const QByteArray headers = ToGbk(GetAllResponseHeaders());
    if (headers.isEmpty()) {
        return {};
    }
    const qsizetype p = FindHeader(headers, "Location:");
    if (p < 0) {
        return {};
    }
    const qsizetype start = p + 9;
    const qsizetype end = GbkIndexOf(headers, "\r\n", start);
    if (end < 0) {
        return {};
    }
    QByteArray location = TrimBlanks(headers.mid(start, end - start));
    const std::optional<UrlParts> parts = ParseUrl(url_);
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
        const QByteArray current = ToGbk(url_);
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

void HttpRequest::HandOverProxyCredentials() {
    if (!proxyCredentialsPending_) {
        return;
    }
    component_->SetCredentials(proxyUser_, proxyPassword_, HttpTransport::kForProxy);
    proxyCredentialsPending_ = false;
}

void HttpRequest::ApplyCookieHeader() {
    if (cookieMode_ == 1) {
        ApplyJarCookieHeader();
    } else if (cookieMode_ == 2) {
        ApplyStoreCookieHeader();
    }
}

void HttpRequest::TakeOverResponseCookies(bool keepOnClear) {
    if (cookieMode_ == 1) {
        MergeResponseCookies(keepOnClear);
    } else if (cookieMode_ == 2) {
        StoreResponseCookies(keepOnClear);
    }
}

void HttpRequest::RenewComponentIfCookiesChanged() {
    if (cookieMode_ == 0 || !cookiesChanged_) {
        return;
    }
    // A fresh component carries none of the cookies the old one may have
    // collected. The caller's time-outs are set before Open, so they go along.
    const HttpTransport::Timeouts timeouts = component_->GetTimeouts();
    component_ = std::make_shared<HttpTransport>();
    component_->SetTimeouts(timeouts.resolveMs, timeouts.connectMs, timeouts.sendMs,
                            timeouts.receiveMs);
    cookiesChanged_ = false;
    component_->SetOption(HttpTransport::kOptionEnableRedirects, false);
    if (ignoreCertificateErrors_) {
        component_->SetOption(HttpTransport::kOptionSslErrorIgnoreFlags,
                              kIgnoreAllCertificateErrors);
    }
    if (!proxyAddress_.isEmpty()) {
        component_->SetProxy(HttpTransport::kProxyNamed, proxyAddress_);
        if (!proxyUser_.isEmpty() || !proxyPassword_.isEmpty()) {
            proxyCredentialsPending_ = true;
        }
    }
}

bool HttpRequest::DivertCookieHeader(const QString& name, const QString& value) {
    if (cookieMode_ < 1 || name.toLower() != QLatin1String("cookie")) {
        return false;
    }
    SetCookies(value);
    return true;
}

void HttpRequest::SetJar(QByteArray jar) {
    cookieJar_ = std::move(jar);
    cookieJarLength_ = static_cast<int>(cookieJar_.size());
}

QString HttpRequest::CookieJar() const {
    return FromGbk(cookieJar_);
}

void HttpRequest::SetCookieMode(int mode) {
    cookieMode_ = mode < 0 || mode > 2 ? 0 : mode;
    if (cookieMode_ == 0 && !followRedirects_) {
        return;
    }
    // With cookies on, the object follows redirects itself so that it sees
    // every "Set-Cookie".
    componentRedirects_ = cookieMode_ == 0;
    component_->SetOption(HttpTransport::kOptionEnableRedirects, componentRedirects_);
}

void HttpRequest::MergeResponseCookies(bool keepOnClear) {
    QByteArray jar = cookieJar_;
    bool changed = false;
    for (const QByteArray& cookie : ScanSetCookies(ToGbk(GetAllResponseHeaders()))) {
        const qsizetype equals = cookie.indexOf('=');
        if (equals < 0) {
            continue;
        }
        const QByteArray key = "; " + cookie.left(equals + 1);
        const qsizetype j = GbkIndexOf(jar, key);
        if (j < 0) {
            if (!IsDeletionMarker(cookie)) {
                jar += cookie + "; ";
                changed = true;
            }
            continue;
        }
        if (keepOnClear && equals + 1 == cookie.size()) {
            continue;
        }
        const qsizetype end = GbkIndexOf(jar, "; ", j + key.size());
        if (end < 0) {
            continue;
        }
        if (IsDeletionMarker(cookie)) {
            if (keepOnClear) {
                continue;
            }
            jar.remove(j, end - j);
        } else {
            jar.replace(j + 2, end - j - 2, cookie);
        }
        changed = true;
    }
    if (changed) {
        SetJar(jar);
        cookiesChanged_ = true;
    }
}

void HttpRequest::StoreResponseCookies(bool keepOnClear) {
    CookieStore& store = CookieStore::Instance();
    for (const QByteArray& cookie : ScanSetCookies(ToGbk(GetAllResponseHeaders()))) {
        const qsizetype equals = cookie.indexOf('=');
        if (equals < 0) {
            continue;
        }
        const QString name = FromGbk(cookie.left(equals));
        const QByteArray value = cookie.mid(equals + 1);
        if (IsDeletionMarker(cookie)) {
            if (keepOnClear) {
                continue;
            }
            store.SetCookie(url_, name, QString());
        } else {
            if (keepOnClear && TrimBlanks(value).isEmpty()) {
                continue;
            }
            store.SetCookie(url_, name, FromGbk(value));
        }
        cookiesChanged_ = true;
    }
}

void HttpRequest::StoreCookies(const QString& text) {
    CookieStore& store = CookieStore::Instance();
    for (const QByteArray& piece : SplitCookieText(ToGbk(text))) {
        const qsizetype equals = piece.indexOf('=');
        if (equals >= 0) {
            store.SetCookie(url_, FromGbk(piece.left(equals)), FromGbk(piece.mid(equals + 1)));
        }
    }
}

void HttpRequest::ApplyJarCookieHeader() {
    component_->SetRequestHeader(QStringLiteral("Cookie"), Cookies());
}

void HttpRequest::ApplyStoreCookieHeader() {
    const QString cookies = CookieStore::Instance().CookiesFor(url_);
    if (!cookies.isEmpty()) {
        component_->SetRequestHeader(QStringLiteral("Cookie"), cookies);
    }
}

QString HttpRequest::ResponseCookies() {
    QByteArrayList cookies;
    for (const QByteArray& cookie : ScanSetCookies(ToGbk(GetAllResponseHeaders()))) {
        if (!IsDeletionMarker(cookie)) {
            cookies << cookie;
        }
    }
    return FromGbk(cookies.join("; "));
}

QString HttpRequest::ResponseCookie(const QString& name) {
    const QByteArray headers = ToGbk(GetAllResponseHeaders());
    const QByteArray key = ToGbk(name) + '=';
    QByteArray pattern = "Set-Cookie: " + key;
    qsizetype p = FindHeader(headers, pattern.constData());
    if (p < 0) {
        pattern = "Set-Cookie:" + key;
        p = FindHeader(headers, pattern.constData());
    }
    if (p < 0) {
        return {};
    }
    const qsizetype start = p + pattern.size();
    qsizetype end = GbkIndexOf(headers, "\r\n", start);
    if (end < 0) {
        return {};
    }
    const qsizetype semicolon = GbkIndexOf(headers, ";", start);
    if (semicolon >= 0 && semicolon < end) {
        end = semicolon;
    }
    return FromGbk(headers.mid(start, end - start));
}

void HttpRequest::SetCookies(const QString& text) {
    switch (cookieMode_) {
        case 0:
            component_->SetRequestHeader(QStringLiteral("Cookie"), text);
            break;
        case 1:
            MergeCookies(text);
            break;
        default:
            StoreCookies(text);
            break;
    }
}

QString HttpRequest::Cookies(const std::optional<QString>& replacement) {
    if (cookieMode_ != 1) {
        return {};
    }
    if (!replacement) {
        return cookieJar_.size() < 4 ? QString()
                                     : FromGbk(cookieJar_.mid(2, cookieJar_.size() - 4));
    }
    QByteArray jar = ToGbk(*replacement);
    if (!jar.startsWith("; ")) {
        jar.prepend("; ");
    }
    if (!jar.endsWith("; ")) {
        const char last = jar.back();
        if (last != ';') {
            jar += ';';
        }
        if (last != ' ') {
            jar += ' ';
        }
    }
    SetJar(jar);
    return *replacement;
}

QString HttpRequest::Cookie(const QString& name, bool withName) {
    if (cookieMode_ != 1 || name.isEmpty()) {
        return {};
    }
    // The whole name up to its "=", so that "a" does not find "ab=1".
    const QByteArray key = "; " + ToGbk(name) + '=';
    const qsizetype p = GbkIndexOf(cookieJar_, key);
    if (p < 0) {
        return {};
    }
    const qsizetype valueStart = p + key.size();
    const qsizetype end = GbkIndexOf(cookieJar_, ";", valueStart);
    if (end < 0) {
        return {};
    }
    const qsizetype from = withName ? p + 2 : valueStart;
    return FromGbk(cookieJar_.mid(from, end - from));
}

bool HttpRequest::MergeCookies(const QString& text) {
    if (cookieMode_ != 1 || text.isEmpty()) {
        return false;
    }
    QByteArray jar = cookieJar_;
    bool changed = false;
    for (const QByteArray& piece : SplitCookieText(ToGbk(text))) {
        const qsizetype equals = piece.indexOf('=');
        if (equals < 0) {
            continue;
        }
        const QByteArray key = "; " + piece.left(equals + 1);
        const qsizetype j = GbkIndexOf(jar, key);
        if (j < 0) {
            jar += piece + "; ";
            changed = true;
            continue;
        }
        const qsizetype end = GbkIndexOf(jar, "; ", j + key.size());
        if (end < 0) {
            continue;
        }
        jar.replace(j + 2, end - j - 2, piece);
        changed = true;
    }
    if (changed) {
        SetJar(jar);
    }
    return changed;
}

bool HttpRequest::RemoveCookies(const QString& text) {
    if (cookieMode_ != 1 || text.isEmpty()) {
        return false;
    }
    QByteArray jar = cookieJar_;
    bool changed = false;
    for (const QByteArray& piece : SplitCookieText(ToGbk(text))) {
        const qsizetype equals = piece.indexOf('=');
        const QByteArray key = "; " + (equals < 0 ? piece : piece.left(equals)) + '=';
        const qsizetype j = GbkIndexOf(jar, key);
        if (j < 0) {
            continue;
        }
        const qsizetype end = GbkIndexOf(jar, "; ", j + key.size());
        if (end < 0) {
            continue;
        }
        jar.remove(j, end - j);
        changed = true;
    }
    if (changed) {
        SetJar(jar);
    }
    return changed;
}

void HttpRequest::SetProxy(const QString& address, const QString& user, const QString& password) {
    if (address.isEmpty()) {
        component_->SetProxy(HttpTransport::kProxyDirect);
    } else {
        component_->SetProxy(HttpTransport::kProxyNamed, address);
    }
    proxyAddress_ = address;
    if (!user.isEmpty() || !password.isEmpty()) {
        proxyCredentialsPending_ = true;
        proxyUser_ = user;
        proxyPassword_ = password;
    }
}

void HttpRequest::SetCredentials(const QString& user, const QString& password, int flags) {
    component_->SetCredentials(user, password,
                               flags == 1 ? HttpTransport::kForProxy : HttpTransport::kForServer);
}

void HttpRequest::SetClientCertificate(const QString& name) {
    component_->SetClientCertificate(name);
}

void HttpRequest::SetAutoLogonPolicy(int policy) {
    component_->SetAutoLogonPolicy(policy);
}

void HttpRequest::SetRequestHeaders(const QString& block) {
    if (block.isEmpty()) {
        return;
    }
    qsizetype lineStart = 0;
    qsizetype colon = block.indexOf(QLatin1Char(':'));
    while (colon >= 0) {
        const QString name = block.mid(lineStart, colon - lineStart);
        const qsizetype end = block.indexOf(QLatin1String("\r\n"), colon + 1);
        QString value;
        if (end < 0) {
            value = block.mid(colon + 1);
        } else {
            value = block.mid(colon + 1, end - colon - 1);
            lineStart = end + 2;
        }
        qsizetype blanks = 0;
        while (blanks < value.size() &&
               (value[blanks] == QLatin1Char(' ') || value[blanks] == QChar(0x3000))) {
            ++blanks;
        }
        SetRequestHeader(name, value.mid(blanks));
        if (end < 0) {
            break;
        }
        colon = block.indexOf(QLatin1Char(':'), end + 2);
    }
}

void HttpRequest::SuppressRequestHeader(const QString& name) {
    if (name.isEmpty()) {
        return;
    }
    MarkCallerHeader(name);
    component_->SetRequestHeader(name, QStringLiteral("-"));
}

void HttpRequest::SetUserAgent(const QString& agent) {
    if (autoHeaders_) {
        userAgentSet_ = true;
    }
    component_->SetRequestHeader(QStringLiteral("User-Agent"), agent);
}

void HttpRequest::SetReferer(const std::optional<QString>& referer) {
    component_->SetRequestHeader(QStringLiteral("Referer"), referer.value_or(url_));
}

void HttpRequest::SetOrigin(const std::optional<QString>& origin) {
    component_->SetRequestHeader(QStringLiteral("Origin"), origin.value_or(url_));
}

void HttpRequest::SetAccept(const QString& accept) {
    component_->SetRequestHeader(QStringLiteral("Accept"), accept);
}

void HttpRequest::SetAcceptLanguage(const QString& language) {
    component_->SetRequestHeader(QStringLiteral("Accept-Language"), language);
}

void HttpRequest::SetContentType(const QString& type) {
    if (autoHeaders_) {
        contentTypeSet_ = true;
    }
    component_->SetRequestHeader(QStringLiteral("Content-Type"), type);
}

void HttpRequest::SetAjaxHeader() {
    component_->SetRequestHeader(QStringLiteral("x-requested-with"),
                                 QStringLiteral("XMLHttpRequest"));
}

void HttpRequest::SetClientAddress(const QString& address) {
    for (const char* name : {"X-Forwarded-For", "CLIENT_IP", "VIA", "REMOTE_ADDR"}) {
        component_->SetRequestHeader(QString::fromLatin1(name), address);
    }
}

bool HttpRequest::Request(Method method, const QString& url, const QString& text,
                          const QByteArray& bytes, const QString& cookies, const QString& headers,
                          const QString& proxy, int attempts) {
    int status = 0;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        if (!proxy.isEmpty()) {
            SetProxy(proxy);
        }
        Open(method == Method::kGet ? QStringLiteral("GET") : QStringLiteral("POST"), url);
        if (!headers.isEmpty()) {
            SetRequestHeaders(headers);
        }
        if (!cookies.isEmpty()) {
            SetCookies(cookies);
        }
        switch (method) {
            case Method::kGet:
                Send();
                break;
            case Method::kPostText:
                Send(text);
                break;
            case Method::kPostBytes:
                SendBytes(bytes);
                break;
        }
        status = Status();
        // 504 (gateway time-out) and 407 (proxy authentication) are worth another try.
        if (status >= 1 && status != 504 && status != 407) {
            break;
        }
    }
    return status == 200 || status == 301 || status == 302;
}

bool HttpRequest::Get(const QString& url, const QString& cookies, const QString& headers,
                      const QString& proxy, int attempts) {
    return Request(Method::kGet, url, {}, {}, cookies, headers, proxy, attempts);
}

bool HttpRequest::Post(const QString& url, const QString& body, const QString& cookies,
                       const QString& headers, const QString& proxy, int attempts) {
    return Request(Method::kPostText, url, body, {}, cookies, headers, proxy, attempts);
}

bool HttpRequest::PostBytes(const QString& url, const QByteArray& body, const QString& cookies,
                            const QString& headers, const QString& proxy, int attempts) {
    return Request(Method::kPostBytes, url, {}, body, cookies, headers, proxy, attempts);
}

}  // namespace lanxun
