#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace lanxun::test {

// The edges of the 300-second limit, for AgeLimitPassed and for both pollers that apply it:
// an acquisition time as its field shows it, read at kAgeLimitNow, and whether the limit has
// passed.
struct AgeLimitCase {
    const char* obtainedAt;
    bool passed;
};

inline const QDateTime kAgeLimitNow(QDate(2026, 12, 10), QTime(15, 35, 0, 900));

inline constexpr AgeLimitCase kAgeLimitCases[] = {
    {"2026年12月10日15时30分", false},     // 300 seconds (and a fraction): still within
    {"2026年12月10日15时29分59秒", true},  // 301
    {"2026年12月10日15时40分", false},     // later than now: the clock was turned back
    {"2026年12月9日", true},               // midnight the day before
    {"昨天", true},                        // no date-time at all
    {"2026年12月10日15时30", true},        // cut short
    {"2026年2月30日15时", true},           // no such day
    {"2026年13月40日15时", true},          // no such month
};

}  // namespace lanxun::test
