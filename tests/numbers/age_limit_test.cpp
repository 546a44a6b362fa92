#include <gtest/gtest.h>

#include "age_limit_cases.h"
#include "numbers/age_limit.h"

namespace lanxun {
namespace {

TEST(AgeLimitTest, WholeSecondsAfterTheAcquisitionAndUnreadableTimes) {
    for (const test::AgeLimitCase& c : test::kAgeLimitCases) {
        SCOPED_TRACE(c.obtainedAt);
        EXPECT_EQ(AgeLimitPassed(QString::fromUtf8(c.obtainedAt), test::kAgeLimitNow), c.passed);
    }
}

}  // namespace
}  // namespace lanxun
