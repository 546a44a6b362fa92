#pragma once

// How a request and the transport's settings become the options of one curl
// easy handle. Used by HttpTransport only.

#include <curl/curl.h>

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

#include "platform/http_transfer.h"
#include "platform/http_transport.h"

namespace lanxun {

// What one Open, its headers and its body describe.
struct RequestSpec {
    QByteArray method;
    QByteArray url;  // escaped for the request target
    std::vector<std::pair<QByteArray, QByteArray>> headers;
    QByteArray body;
    bool hasBody = false;

    // The value of a header of that name (any letter case); empty when absent.
    QByteArray Header(const QByteArray& name) const;
    bool HasHeader(const QByteArray& name) const;
};

// The transport's settings, which outlive a request.
struct TransportSettings {
    PhaseLimits limits;
    QString userAgent;
    int sslIgnoreFlags = 0;
    bool followRedirects = true;
    int maxRedirects = 10;
    HttpTransport::ProxySetting proxySetting = HttpTransport::kProxyDefault;
    QByteArray proxyServer, proxyBypass, proxyUser, proxyPassword;
    QByteArray serverUser, serverPassword;
    bool hasServerCredentials = false;
    QByteArray clientCertificate;
    int autoLogonPolicy = HttpTransport::kAutoLogonIntranet;
};

// The request's header lines, alive as long as the handle uses them.
class CurlHeaderList {
public:
    CurlHeaderList() = default;
    ~CurlHeaderList() { curl_slist_free_all(list_); }
    CurlHeaderList(const CurlHeaderList&) = delete;
    CurlHeaderList& operator=(const CurlHeaderList&) = delete;

    void Add(const QByteArray& line) { list_ = curl_slist_append(list_, line.constData()); }
    curl_slist* List() const { return list_; }

private:
    curl_slist* list_ = nullptr;
};

// Resets `easy` (keeping its live connection) and sets every option of the
// request. `errorBuffer` (CURL_ERROR_SIZE bytes) receives curl's description of a failure.
void ApplyCurlOptions(CURL* easy, const RequestSpec& request, const TransportSettings& settings,
                      CurlHeaderList& headerList, char* errorBuffer);

}  // namespace lanxun
