#include <gtest/gtest.h>

#include "api/http_request.h"
#include "api/pattern_matcher.h"
#include "numbers/home_region.h"
#include "platform/gbk.h"
#include "support/sim_reply.h"
#include "support/sim_test.h"

namespace lanxun {
namespace {

using platformsim::Line;
using platformsim::PlatformSim;
using platformsim::ScriptedReply;

class HomeRegionTest : public test::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        SetSegmentHost(QString::fromStdString(sim_->Address(Line::Segment)));
    }
};

TEST_F(HomeRegionTest, ProvinceOfTheSegmentReply) {
    const std::string number = "13912345678";
    const QString expected =
        FromGbk(QByteArray::fromStdString(PlatformSim::SegmentProvince(number)));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(LookUpHomeRegion(QString::fromStdString(number)), expected);
    ASSERT_EQ(sim_->Requests().size(), 1u);
    EXPECT_EQ(sim_->Requests()[0].line, "segment");
    EXPECT_EQ(sim_->Requests()[0].target, "/cc/json/mobile_tel_segment.htm?tel=13912345678");
}

TEST_F(HomeRegionTest, UnknownWithoutAProvince) {
    struct Case {
        const char* name;
        ScriptedReply reply;
    };
    const Case cases[] = {
        {"no province", test::Reply(200, "__GetZoneResult_ = {\n    telString:'123'\n}\n")},
        {"empty province", test::Reply(200, "province:'',")},
        {"empty reply", test::Reply(200, "")},
        {"closed", test::Reply(200, "", {}, 0, true)},
        {"province without its comma", test::Reply(200, "province:'JS'")},
    };
    for (const Case& c : cases) {
        sim_->Script("/cc/json/mobile_tel_segment.htm", c.reply);
        EXPECT_EQ(LookUpHomeRegion(QStringLiteral("13912345678")), QStringLiteral("未知"))
            << c.name;
    }
}

TEST_F(HomeRegionTest, OneRequestAndMatcherServeManyLookups) {
    HttpRequest request;
    PatternMatcher matcher;
    sim_->ScriptSequence(
        "/cc/json/mobile_tel_segment.htm",
        {test::Reply(200, ToGbk(QStringLiteral("x province:'江苏', y")).toStdString()),
         test::Reply(200, "nothing"),
         test::Reply(200, ToGbk(QStringLiteral("province:'西藏',")).toStdString())});
    EXPECT_EQ(LookUpHomeRegion(request, matcher, "1"), QStringLiteral("江苏"));
    EXPECT_EQ(LookUpHomeRegion(request, matcher, "2"), QStringLiteral("未知"));
    EXPECT_EQ(LookUpHomeRegion(request, matcher, "3"), QStringLiteral("西藏"));
}

TEST(HomeRegionDownTest, UnknownWhenTheHostIsDown) {
    SetSegmentHost(QStringLiteral("127.0.0.1:1"));
    EXPECT_EQ(LookUpHomeRegion(QStringLiteral("13912345678")), QStringLiteral("未知"));
}

}  // namespace
}  // namespace lanxun
