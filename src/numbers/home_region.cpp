#include "numbers/home_region.h"

#include <mutex>

#include "api/endpoints.h"
#include "api/http_request.h"
#include "api/pattern_matcher.h"
#include "lanxun/build_config.h"

namespace lanxun {
namespace {

std::mutex hostMutex;
QString hostOverride;  // guarded by hostMutex; empty: the build's host

}  // namespace

QString SegmentHost() {
    std::lock_guard lock(hostMutex);
    return hostOverride.isEmpty() ? QString::fromUtf8(build::kSegmentHost) : hostOverride;
}

void SetSegmentHost(const QString& host) {
    std::lock_guard lock(hostMutex);
    hostOverride = host;
}

QString LookUpHomeRegion(HttpRequest& request, PatternMatcher& matcher, const QString& number) {
    const int t = kSegmentLookupTimeoutMs;
    request.SetTimeouts(t, t, t, t);
    request.Open(QStringLiteral("GET"), QStringLiteral("https://") + SegmentHost() +
                                            QStringLiteral("/cc/json/mobile_tel_segment.htm?tel=") +
                                            number);
    request.Send();
    matcher.Execute(QStringLiteral("province:'(.*?)',"), request.ResponseBodyText());
    const QString province = matcher.SubMatchText(1, 1);
    return province.isEmpty() ? QStringLiteral("未知") : province;
}

QString LookUpHomeRegion(const QString& number) {
    HttpRequest request;
    PatternMatcher matcher;
    return LookUpHomeRegion(request, matcher, number);
}

}  // namespace lanxun
