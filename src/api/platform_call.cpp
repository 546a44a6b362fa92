#include "api/platform_call.h"

#include "api/http_request.h"

namespace lanxun {

namespace {

void SendGet(HttpRequest& request, const QString& url, int timeoutMs) {
    request.SetTimeouts(timeoutMs, timeoutMs, timeoutMs, timeoutMs);
    request.Open(QStringLiteral("GET"), url);
    request.Send();
}

}  // namespace

QString FetchReply(HttpRequest& request, const QString& url, int timeoutMs) {
    SendGet(request, url, timeoutMs);
    return request.ResponseBodyText();
}

QString FetchReply(const QString& url, int timeoutMs) {
    HttpRequest request;
    return FetchReply(request, url, timeoutMs);
}

QByteArray FetchReplyBytes(HttpRequest& request, const QString& url, int timeoutMs) {
    SendGet(request, url, timeoutMs);
    return request.ResponseBody();
}

}  // namespace lanxun
