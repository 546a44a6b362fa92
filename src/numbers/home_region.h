#pragma once

#include <QString>

namespace lanxun {

class HttpRequest;
class PatternMatcher;

// The host of the public phone-number segment service: the build's value unless start-up or
// a test set another ("host" or "host:port").
QString SegmentHost();
void SetSegmentHost(const QString& host);

// The home province of a mobile number, looked up at the segment service over HTTPS with
// time-outs of 5000 ms: the text of province:'…', in the reply, or "未知" when there is no
// reply or no such text. Callable on any thread, with the thread's own request and matcher.
QString LookUpHomeRegion(HttpRequest& request, PatternMatcher& matcher, const QString& number);
// The same with objects of its own.
QString LookUpHomeRegion(const QString& number);

}  // namespace lanxun
