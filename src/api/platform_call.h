#pragma once

// The common platform call: all four time-outs set to one value, a GET of the
// URL, the reply as GBK text cut at its first zero byte. A call that cannot
// reach the server gives the empty reply.

#include <QByteArray>
#include <QString>

#include "api/endpoints.h"

namespace lanxun {

class HttpRequest;

// On a request the caller keeps for several calls (a handler's loop, a worker).
QString FetchReply(HttpRequest& request, const QString& url, int timeoutMs = kPlatformTimeoutMs);
// With a request object of its own.
QString FetchReply(const QString& url, int timeoutMs = kPlatformTimeoutMs);

// The same call, the reply as bytes (the sc QR image).
QByteArray FetchReplyBytes(HttpRequest& request, const QString& url,
                           int timeoutMs = kPlatformTimeoutMs);

}  // namespace lanxun
