// HttpRequest's header shortcuts and its requests with retries.

#include "api/http_request.h"

#include "api/protocol.h"

namespace lanxun {

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
        while (blanks < value.size() && IsBlank(value[blanks])) {
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
