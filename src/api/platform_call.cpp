#include "api/platform_call.h"

#include "api/http_request.h"

namespace lanxun {

namespace {

void SendGet(HttpRequest& request, const EndpointCall& call) {
    const int t = call.timeoutMs;
    request.SetTimeouts(t, t, t, t);
    request.Open(QStringLiteral("GET"), call.url);
    request.Send();
}

}  // namespace

QString FetchReply(HttpRequest& request, const EndpointCall& call) {
    SendGet(request, call);
    return request.ResponseBodyText();
}

QString FetchReply(const EndpointCall& call) {
    HttpRequest request;
    return FetchReply(request, call);
}

QByteArray FetchReplyBytes(HttpRequest& request, const EndpointCall& call) {
    SendGet(request, call);
    return request.ResponseBody();
}

}  // namespace lanxun
