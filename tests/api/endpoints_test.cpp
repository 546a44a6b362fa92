#include <gtest/gtest.h>

#include "api/endpoints.h"
#include "api/server_lines.h"

namespace lanxun {
namespace {

// The lines of the hosts "h" on the client's fixed ports, for the test's length.
class Endpoints : public ::testing::Test {
protected:
    void SetUp() override { SetLines(ServerLines::FromHost(QStringLiteral("h"))); }

    const Credentials user_{QStringLiteral("u"), QStringLiteral("p")};
};

TEST_F(Endpoints, CommonPrefixWithNothingElse) {
    // The disposal case: prefix, "&id=", "&phone=", no other characters.
    EXPECT_EQ(ReleaseUrl(user_, QStringLiteral("1000"), QStringLiteral("13800000000")).url,
              QStringLiteral("http://h:107/yh_sf/username=u&password=p&id=1000&phone=13800000000"));
}

TEST_F(Endpoints, ValuesGoInUnchangedExceptTheEncodedOnes) {
    const Credentials c{QStringLiteral("用户 a&b"), QStringLiteral("p=#1")};
    EXPECT_EQ(SignUrl(c.userName, c.password).url,
              QStringLiteral("http://h:82/sign/username=用户 a&b&password=p=#1"));
    EXPECT_EQ(
        ProjectListUrl(c, QStringLiteral("微 信")).url,
        QStringLiteral("http://h:83/liebiao_xm/username=用户 a&b&password=p=#1&lx=1&ss=微 信"));
    EXPECT_EQ(
        ApplyReceiveProjectUrl(user_, QStringLiteral("ab"), QStringLiteral("码\r\n")).url,
        QStringLiteral("http://h:83/sq_dx/username=u&password=p&m=%61%62&dx=%E7%A0%81%0D%0A&l=1"));
}

TEST_F(Endpoints, NumberOptionValues) {
    EXPECT_EQ(IndexOptionValue(QStringLiteral("默认"), 0), QString());
    EXPECT_EQ(IndexOptionValue(QStringLiteral("联通"), 2), QStringLiteral("2"));
    EXPECT_EQ(IndexOptionValue(QStringLiteral("实卡"), 2), QStringLiteral("2"));
    EXPECT_EQ(IndexOptionValue(QString(), -1), QString());  // nothing selected
    EXPECT_EQ(RegionOptionValue(QStringLiteral("默认")), QString());
    EXPECT_EQ(RegionOptionValue(QStringLiteral("江苏")), QStringLiteral("江苏"));
    EXPECT_EQ(LoopModeValue(true), QStringLiteral("2"));
    EXPECT_EQ(LoopModeValue(false), QStringLiteral("1"));
}

TEST_F(Endpoints, EveryRequestCarriesItsEndpointsTimeOut) {
    // fdx_tj and the segment lookup 5 s, every other request 15 s.
    EXPECT_EQ(SendSmsUrl(user_, "1001", "10690", "138", "x").timeoutMs, 5000);
    EXPECT_EQ(SegmentLookupUrl("seg", "13800000000").timeoutMs, 5000);
    EXPECT_EQ(PollUrl(user_, "1000", "138").timeoutMs, 15000);
    EXPECT_EQ(QrCodeUrl(user_, "10").timeoutMs, 15000);
    EXPECT_EQ(VersionFileUrl("up").timeoutMs, 15000);
    for (const QString& word : EndpointWords()) {
        EXPECT_EQ(TimeoutForEndpoint(word), word == QStringLiteral("fdx_tj") ? 5000 : 15000)
            << word.toStdString();
    }
}

TEST_F(Endpoints, AnUnknownWordHasNoLine) {
    EXPECT_EQ(LineForEndpoint(u"yh_xx"), QString());
    EXPECT_EQ(LineForEndpoint(u"YH_QH"), QString());  // words are case-sensitive
    EXPECT_EQ(LineForEndpoint(u"yh_qh"), QStringLiteral("h:81"));
}

TEST_F(Endpoints, OtherServices) {
    EXPECT_EQ(
        SegmentLookupUrl(QStringLiteral("seg.example:8443"), QStringLiteral("13800000000")).url,
        QStringLiteral("https://seg.example:8443/cc/json/mobile_tel_segment.htm?tel=13800000000"));
    EXPECT_EQ(VersionFileUrl(QStringLiteral("up:8088")).url,
              QStringLiteral("http://up:8088/yh.txt"));
    EXPECT_EQ(UpdateArchiveUrl(QStringLiteral("up:8088")), QStringLiteral("http://up:8088/ky.zip"));
}

}  // namespace
}  // namespace lanxun
