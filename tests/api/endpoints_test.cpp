#include <gtest/gtest.h>

#include "api/endpoints.h"

namespace lanxun {
namespace {

TEST(Endpoints, CommonPrefixWithNothingElse) {
    // The disposal case: prefix, "&id=", "&phone=", no other characters.
    EXPECT_EQ(
        ReleaseUrl(QStringLiteral("host:107"), {QStringLiteral("u"), QStringLiteral("p")},
                   QStringLiteral("1000"), QStringLiteral("13800000000")),
        QStringLiteral("http://host:107/yh_sf/username=u&password=p&id=1000&phone=13800000000"));
}

TEST(Endpoints, ValuesGoInUnchangedExceptTheEncodedOnes) {
    const Credentials c{QStringLiteral("用户 a&b"), QStringLiteral("p=#1")};
    EXPECT_EQ(SignUrl(QStringLiteral("h:82"), c.userName, c.password),
              QStringLiteral("http://h:82/sign/username=用户 a&b&password=p=#1"));
    EXPECT_EQ(
        ProjectListUrl(QStringLiteral("h:83"), c, QStringLiteral("微 信")),
        QStringLiteral("http://h:83/liebiao_xm/username=用户 a&b&password=p=#1&lx=1&ss=微 信"));
    EXPECT_EQ(
        ApplyReceiveProjectUrl(QStringLiteral("h:83"), {QStringLiteral("u"), QStringLiteral("p")},
                               QStringLiteral("ab"), QStringLiteral("码\r\n")),
        QStringLiteral("http://h:83/sq_dx/username=u&password=p&m=%61%62&dx=%E7%A0%81%0D%0A&l=1"));
}

TEST(Endpoints, NumberOptionValues) {
    EXPECT_EQ(IndexOptionValue(QStringLiteral("默认"), 0), QString());
    EXPECT_EQ(IndexOptionValue(QStringLiteral("联通"), 2), QStringLiteral("2"));
    EXPECT_EQ(IndexOptionValue(QStringLiteral("实卡"), 2), QStringLiteral("2"));
    EXPECT_EQ(IndexOptionValue(QString(), -1), QString());  // nothing selected
    EXPECT_EQ(RegionOptionValue(QStringLiteral("默认")), QString());
    EXPECT_EQ(RegionOptionValue(QStringLiteral("江苏")), QStringLiteral("江苏"));
    EXPECT_EQ(LoopModeValue(true), QStringLiteral("2"));
    EXPECT_EQ(LoopModeValue(false), QStringLiteral("1"));
}

TEST(Endpoints, TimeOuts) {
    EXPECT_EQ(TimeoutForEndpoint(u"fdx_tj"), 5000);
    EXPECT_EQ(TimeoutForEndpoint(u"yh_qh"), 15000);
    EXPECT_EQ(TimeoutForEndpoint(u"sc"), 15000);
    EXPECT_EQ(kSegmentLookupTimeoutMs, 5000);
}

TEST(Endpoints, OtherServices) {
    EXPECT_EQ(
        SegmentLookupUrl(QStringLiteral("seg.example:8443"), QStringLiteral("13800000000")),
        QStringLiteral("https://seg.example:8443/cc/json/mobile_tel_segment.htm?tel=13800000000"));
    EXPECT_EQ(VersionFileUrl(QStringLiteral("up:8088")), QStringLiteral("http://up:8088/yh.txt"));
    EXPECT_EQ(UpdateArchiveUrl(QStringLiteral("up:8088")), QStringLiteral("http://up:8088/ky.zip"));
}

}  // namespace
}  // namespace lanxun
