// HttpRequest's cookies: its own jar (mode 1) and the process-wide store (mode 2).

#include "api/http_request.h"

#include "api/header_lines.h"
#include "platform/cookie_store.h"
#include "platform/gbk.h"

namespace lanxun {
namespace {

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
        pieces << GbkTrimLeadingBlanks(text.mid(start, end - start));
        start = end + 1;
    }
    return pieces;
}

// Where the jar holds "; " + name + "=": from that "; " up to the "; " that ends
// the value. An entry without its closing "; " is found but not complete.
struct JarEntry {
    bool found = false;
    bool complete = false;
    qsizetype start = -1;
    qsizetype end = -1;
};

JarEntry FindJarEntry(const QByteArray& jar, const QByteArray& name) {
    const QByteArray key = "; " + name + '=';
    JarEntry entry;
    entry.start = GbkIndexOf(jar, key);
    if (entry.start < 0) {
        return entry;
    }
    entry.found = true;
    entry.end = GbkIndexOf(jar, "; ", entry.start + key.size());
    entry.complete = entry.end >= 0;
    return entry;
}

}  // namespace

QList<QByteArray> ScanSetCookies(const QByteArray& headers) {
    QList<QByteArray> cookies;
    qsizetype p = FindHeaderLine(headers, "Set-Cookie:");
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
        cookies << GbkTrimLeadingBlanks(headers.mid(start, end - start));
        p = FindHeaderLine(headers, "Set-Cookie:", end);
    }
    return cookies;
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
            if (keepOnClear && GbkTrimBlanks(value).isEmpty()) {
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
    qsizetype p = FindHeaderLine(headers, pattern.constData());
    if (p < 0) {
        pattern = "Set-Cookie:" + key;
        p = FindHeaderLine(headers, pattern.constData());
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

bool HttpRequest::EditJar(
    const QString& text,
    const std::function<bool(QByteArray& jar, const QByteArray& cookie)>& edit) {
    if (cookieMode_ != 1 || text.isEmpty()) {
        return false;
    }
    QByteArray jar = cookieJar_;
    bool changed = false;
    for (const QByteArray& cookie : SplitCookieText(ToGbk(text))) {
        changed = edit(jar, cookie) || changed;
    }
    if (changed) {
        SetJar(jar);
    }
    return changed;
}

bool HttpRequest::MergeCookies(const QString& text) {
    return EditJar(text, [](QByteArray& jar, const QByteArray& cookie) {
        const qsizetype equals = cookie.indexOf('=');
        if (equals < 0) {
            return false;
        }
        const JarEntry entry = FindJarEntry(jar, cookie.left(equals));
        if (!entry.found) {
            jar += cookie + "; ";
            return true;
        }
        if (!entry.complete) {
            return false;
        }
        jar.replace(entry.start + 2, entry.end - entry.start - 2, cookie);
        return true;
    });
}

bool HttpRequest::RemoveCookies(const QString& text) {
    return EditJar(text, [](QByteArray& jar, const QByteArray& cookie) {
        const qsizetype equals = cookie.indexOf('=');
        const JarEntry entry = FindJarEntry(jar, equals < 0 ? cookie : cookie.left(equals));
        if (!entry.found || !entry.complete) {
            return false;
        }
        jar.remove(entry.start, entry.end - entry.start);
        return true;
    });
}

}  // namespace lanxun
