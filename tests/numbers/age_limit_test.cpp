#include <gtest/gtest.h>

#include <QDateTime>

#include "numbers/age_limit.h"

namespace lanxun {
namespace {

TEST(AgeLimitTest, WholeSecondsAfterTheAcquisitionAndUnreadableTimes) {
    const QDateTime now(QDate(2026, 12, 10), QTime(15, 35, 0, 900));
    struct Case {
        const char* obtainedAt;
        bool passed;
    };
    const Case cases[] = {
        {"2026年12月10日15时30分", false},     // 300 seconds (and a fraction): still within
        {"2026年12月10日15时29分59秒", true},  // 301
        {"2026年12月10日15时40分", false},     // later than now: the clock was turned back
        {"2026年12月9日", true},               // midnight the day before
        {"昨天", true},                        // no date-time at all
        {"2026年12月10日15时30", true},        // cut short
        {"2026年2月30日15时", true},           // no such day
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.obtainedAt);
        EXPECT_EQ(AgeLimitPassed(QString::fromUtf8(c.obtainedAt), now), c.passed);
    }
}

}  // namespace
}  // namespace lanxun
