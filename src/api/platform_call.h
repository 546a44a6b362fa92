#pragma once

// The common platform call: all four time-outs set to the call's one value, a
// GET of its URL, the reply as GBK text cut at its first zero byte. A call that
// cannot reach the server gives the empty reply. The catalogue (api/endpoints)
// forms the call, so a caller never names a line or a time-out.

#include <QByteArray>
#include <QString>

#include "api/endpoints.h"

namespace lanxun {

class HttpRequest;

// On a request the caller keeps for several calls (a handler's loop, a worker).
QString FetchReply(HttpRequest& request, const EndpointCall& call);
// With a request object of its own.
QString FetchReply(const EndpointCall& call);

// The same call, the reply as bytes (the sc QR image).
QByteArray FetchReplyBytes(HttpRequest& request, const EndpointCall& call);

}  // namespace lanxun
