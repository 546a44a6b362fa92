// Every catalogue URL sent through HttpRequest to the local platform, and the
// request target as the platform received it, character for character.

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <functional>

#include "api/endpoints.h"
#include "api/http_request.h"
#include "api/platform_call.h"
#include "platform_sim.h"

namespace lanxun {
namespace {

using platformsim::Line;

QString Address(const platformsim::PlatformSim& sim, Line line) {
    return QString::fromStdString(sim.Address(line));
}

class EndpointsWireTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim_.Start()); }

    platformsim::PlatformSim sim_;
    const Credentials user_{QStringLiteral("demo"), QStringLiteral("pw")};
};

struct WireCase {
    const char* name;
    Line line;
    std::function<QString(const QString& line)> url;
    const char* target;  // as received, still escaped
};

TEST_F(EndpointsWireTest, EveryCatalogueUrlArrivesAsComposed) {
    const Credentials& u = user_;
    const NumberOptions defaults{QString(), QString(), QString(), QStringLiteral("1")};
    const NumberOptions chosen{QStringLiteral("1"), QStringLiteral("江苏"), QStringLiteral("2"),
                               QStringLiteral("2")};
    const NumberOptions neverClicked{QString(), QString(), QString(), QString()};
    const Registration registration{QStringLiteral("newuser"), QStringLiteral("pw1"),
                                    QStringLiteral("12345"),   QStringLiteral("张三"),
                                    QStringLiteral("a@b.cn"),  QString(),
                                    QStringLiteral("问"),      QStringLiteral("答 a")};

    const std::vector<WireCase> cases = {
        {"sign", Line::Account, [](const QString& l) { return SignUrl(l, "demo", "pw"); },
         "/sign/username=demo&password=pw"},
        {"sign with Chinese, space and #", Line::Account,
         [](const QString& l) { return SignUrl(l, QStringLiteral("用户 a"), "p#1"); },
         "/sign/username=%E7%94%A8%E6%88%B7%20a&password=p%231"},
        {"ZC", Line::Account, [&](const QString& l) { return RegisterUrl(l, registration); },
         "/ZC/username=newuser&password=pw1&password1=pw1&QQ=12345&Fullname=%E5%BC%A0%E4%B8%89"
         "&account=a@b.cn&Referee=&problem=%E9%97%AE&Answer=%E7%AD%94%20%61&type=1"},
        {"xg_mm", Line::Account,
         [&](const QString& l) { return ChangePasswordUrl(l, u, QStringLiteral("答"), "np"); },
         "/xg_mm/username=demo&password=pw&w=%E7%AD%94&p=np"},
        {"xg_aq", Line::Account,
         [&](const QString& l) {
             return ChangeSecurityUrl(l, u, "old", QStringLiteral("你的 小学?"), "new");
         },
         "/xg_aq/username=demo&password=pw&w=old&xt=%E4%BD%A0%E7%9A%84%20%E5%B0%8F%E5%AD%A6?"
         "&w1=new"},
        {"xg_zl", Line::Account,
         [&](const QString& l) {
             return ChangeProfileUrl(l, u, "ans", "12345", QStringLiteral("李四"), "pay@x.cn");
         },
         "/xg_zl/username=demo&password=pw&w=ans&q=12345&z=%E6%9D%8E%E5%9B%9B&f=pay@x.cn"},
        {"yh_qh batch, all default", Line::Number,
         [&](const QString& l) { return NumberUrl(l, u, "1000", defaults); },
         "/yh_qh/username=demo&password=pw&id=1000&operator=&region=&card=&loop=1"},
        {"yh_qh batch, options chosen", Line::Number,
         [&](const QString& l) { return NumberUrl(l, u, "1000", chosen); },
         "/yh_qh/username=demo&password=pw&id=1000&operator=1&region=%E6%B1%9F%E8%8B%8F&card=2"
         "&loop=2"},
        {"yh_qh send side before the loop box was clicked", Line::Number,
         [&](const QString& l) { return NumberUrl(l, u, "1001", neverClicked); },
         "/yh_qh/username=demo&password=pw&id=1001&operator=&region=&card=&loop="},
        {"yh_qh specified, receive side", Line::Number,
         [&](const QString& l) { return SpecifiedNumberUrl(l, u, "1000", "13800000000"); },
         "/yh_qh/username=demo&password=pw&id=1000&phone=13800000000"},
        {"yh_qh specified, send side, blanks kept", Line::Number,
         [&](const QString& l) {
             return SpecifiedNumberUrl(l, u, "1001", defaults, "138 0000 0000");
         },
         "/yh_qh/username=demo&password=pw&id=1001&operator=&region=&card=&loop=1"
         "&phone=138%200000%200000"},
        {"yh_sf", Line::Disposal,
         [&](const QString& l) { return ReleaseUrl(l, u, "1000", "13800000000"); },
         "/yh_sf/username=demo&password=pw&id=1000&phone=13800000000"},
        {"yh_lh", Line::Disposal,
         [&](const QString& l) { return BlacklistUrl(l, u, "1000", "13800000000"); },
         "/yh_lh/username=demo&password=pw&id=1000&phone=13800000000"},
        {"yh_qm", Line::Poll,
         [&](const QString& l) { return PollUrl(l, u, "1000", "13800000000"); },
         "/yh_qm/username=demo&password=pw&id=1000&phone=13800000000"},
        {"cz_tj", Line::Poll,
         [&](const QString& l) {
             return ConfirmRechargeUrl(l, u, "2018010120003001110016521811abcd");
         },
         "/cz_tj/username=demo&password=pw&d=2018010120003001110016521811abcd"},
        {"fdx_tj, content unencoded by the client", Line::Send,
         [&](const QString& l) {
             return SendSmsUrl(l, u, "1001", "10690", "13800000000", QStringLiteral("ok 好&x=1"));
         },
         "/fdx_tj/username=demo&password=pw&id=1001&send=10690&phone=13800000000"
         "&content=ok%20%E5%A5%BD&x=1"},
        {"liebiao_xm, full list", Line::Project,
         [&](const QString& l) { return ProjectListUrl(l, u, QString()); },
         "/liebiao_xm/username=demo&password=pw&lx=1&ss="},
        {"liebiao_xm, search with a blank", Line::Project,
         [&](const QString& l) { return ProjectListUrl(l, u, QStringLiteral("微 信")); },
         "/liebiao_xm/username=demo&password=pw&lx=1&ss=%E5%BE%AE%20%E4%BF%A1"},
        {"xiangmu_ysc, receive side", Line::Project,
         [&](const QString& l) { return FavouritesUrl(l, u, ProjectKind::ReceiveSms); },
         "/xiangmu_ysc/username=demo&password=pw"},
        {"xiangmu_ysc, send side", Line::Project,
         [&](const QString& l) { return FavouritesUrl(l, u, ProjectKind::SendSms); },
         "/xiangmu_ysc/username=demo&password=pw&l=1"},
        {"xiangmu_shouchan, three values in one", Line::Project,
         [&](const QString& l) {
             return AddFavouriteUrl(l, u, "1000", QStringLiteral("微信"), "1.5");
         },
         "/xiangmu_shouchan/username=demo&password=pw&id=1000%23c-%E5%BE%AE%E4%BF%A1%23c-1.5"},
        {"xiangmu_qxsc", Line::Project,
         [&](const QString& l) { return RemoveFavouriteUrl(l, u, "1000"); },
         "/xiangmu_qxsc/username=demo&password=pw&id=1000"},
        {"sq_dx receive, every byte encoded", Line::Project,
         [&](const QString& l) {
             return ApplyReceiveProjectUrl(l, u, "ab", QStringLiteral("码\r\n1"));
         },
         "/sq_dx/username=demo&password=pw&m=%61%62&dx=%E7%A0%81%0D%0A%31&l=1"},
        {"sq_dx send", Line::Project,
         [&](const QString& l) { return ApplySendProjectUrl(l, u, "ab", "106#107"); },
         "/sq_dx/username=demo&password=pw&m=%61%62&hm=%31%30%36%23%31%30%37&l=2"},
        {"yh_zs_lb", Line::Docking, [&](const QString& l) { return DockingListUrl(l, u); },
         "/yh_zs_lb/username=demo&password=pw"},
        {"yh_zs_gk_lb", Line::Docking, [&](const QString& l) { return PublicDockingListUrl(l, u); },
         "/yh_zs_gk_lb/username=demo&password=pw"},
        {"yh_zs_jr", Line::Docking,
         [&](const QString& l) { return JoinDockingUrl(l, u, "ABCDEFGHIJKLM"); },
         "/yh_zs_jr/username=demo&password=pw&d=ABCDEFGHIJKLM"},
        {"yh_zs_fhzt", Line::Docking,
         [&](const QString& l) { return ToggleDockingUrl(l, u, "ABCDEFGHIJKLM"); },
         "/yh_zs_fhzt/username=demo&password=pw&d=ABCDEFGHIJKLM"},
        {"yh_zs_sc", Line::Docking,
         [&](const QString& l) { return DeleteDockingUrl(l, u, "ABCDEFGHIJKLM"); },
         "/yh_zs_sc/username=demo&password=pw&d=ABCDEFGHIJKLM"},
        {"yh_gx", Line::Docking, [&](const QString& l) { return BalanceUrl(l, u); },
         "/yh_gx/username=demo&password=pw"},
        {"yh_mx page 1: no key", Line::Record,
         [&](const QString& l) { return PagedRecordsUrl(l, u, PagedList::Sms); },
         "/yh_mx/username=demo&password=pw"},
        {"yh_mx page 2", Line::Record,
         [&](const QString& l) { return PagedRecordsUrl(l, u, PagedList::Sms, "2"); },
         "/yh_mx/username=demo&password=pw&y=2"},
        {"yh_mx_s page 1: no &y=", Line::Record,
         [&](const QString& l) { return PagedSearchUrl(l, u, PagedList::Sms, "138"); },
         "/yh_mx_s/username=demo&password=pw&n=138"},
        {"yh_mx_s page 3, search with & and =", Line::Record,
         [&](const QString& l) { return PagedSearchUrl(l, u, PagedList::Sms, "a&b=c", "3"); },
         "/yh_mx_s/username=demo&password=pw&n=a&b=c&y=3"},
        {"tj_mx page 1", Line::Record,
         [&](const QString& l) { return PagedRecordsUrl(l, u, PagedList::Referral); },
         "/tj_mx/username=demo&password=pw"},
        {"tj_mx, empty page text", Line::Record,
         [&](const QString& l) { return PagedRecordsUrl(l, u, PagedList::Referral, ""); },
         "/tj_mx/username=demo&password=pw&y="},
        {"tj_mx_s, empty search", Line::Record,
         [&](const QString& l) { return PagedSearchUrl(l, u, PagedList::Referral, ""); },
         "/tj_mx_s/username=demo&password=pw&n="},
        {"tj_mx_s page 2", Line::Record,
         [&](const QString& l) {
             return PagedSearchUrl(l, u, PagedList::Referral, QStringLiteral("微信"), "2");
         },
         "/tj_mx_s/username=demo&password=pw&n=%E5%BE%AE%E4%BF%A1&y=2"},
        {"tx_mx", Line::Record, [&](const QString& l) { return WithdrawalRecordsUrl(l, u); },
         "/tx_mx/username=demo&password=pw"},
        {"cz_mx", Line::Record, [&](const QString& l) { return RechargeRecordsUrl(l, u); },
         "/cz_mx/username=demo&password=pw"},
        {"tj", Line::Withdraw, [&](const QString& l) { return WithdrawUrl(l, u, "10.5"); },
         "/tj/username=demo&password=pw&j=10.5"},
        {"sc, amount as typed", Line::Recharge,
         [&](const QString& l) { return QrCodeUrl(l, u, " 10"); },
         "/sc/username=demo&password=pw&j=%2010"},
        {"cx", Line::Recharge, [&](const QString& l) { return TransferAccountUrl(l, u); },
         "/cx/username=demo&password=pw"},
        {"version file", Line::Update, [](const QString& l) { return VersionFileUrl(l); },
         "/yh.txt"},
        {"update archive", Line::Update, [](const QString& l) { return UpdateArchiveUrl(l); },
         "/ky.zip"},
        {"segment lookup", Line::Segment,
         [](const QString& l) { return SegmentLookupUrl(l, "13800000000"); },
         "/cc/json/mobile_tel_segment.htm?tel=13800000000"},
    };

    HttpRequest request;  // one object for the whole run, as a handler's loop uses it
    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim_.ClearRequests();
        const QString url = c.url(Address(sim_, c.line));
        const int timeout = c.line == Line::Segment ? kSegmentLookupTimeoutMs : kPlatformTimeoutMs;
        FetchReply(request, url, timeout);
        const std::vector<platformsim::RecordedRequest> received = sim_.Requests();
        ASSERT_EQ(received.size(), 1u) << url.toStdString();
        EXPECT_EQ(received[0].target, c.target);
        EXPECT_EQ(received[0].line, platformsim::LineName(c.line));
        EXPECT_EQ(received[0].method, "GET");
    }
}

TEST_F(EndpointsWireTest, FetchReplyGivesTheReplyTextAndSendsOnlyTheUserAgent) {
    sim_.Script("yh_qh", {200, "1|13800000000"});
    const QString url = NumberUrl(Address(sim_, Line::Number), user_, "1000",
                                  {QString(), QString(), QString(), QStringLiteral("1")});
    EXPECT_EQ(FetchReply(url), QStringLiteral("1|13800000000"));

    const std::vector<platformsim::RecordedRequest> received = sim_.Requests();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_NE(received[0].headers.find("User-Agent: Mozilla/5.0 (compatible; MSIE 10.0; "
                                       "Windows NT 6.2)\r\n"),
              std::string::npos);
    EXPECT_EQ(received[0].headers.find("Cookie:"), std::string::npos);
    EXPECT_EQ(received[0].headers.find("Content-Type:"), std::string::npos);
    EXPECT_TRUE(received[0].body.empty());
}

TEST_F(EndpointsWireTest, GbkReplyIsDecodedAndCutAtTheFirstZeroByte) {
    // "释放成功" in GBK, then a zero byte and more.
    sim_.Script("yh_sf", {200, std::string("\xCA\xCD\xB7\xC5\xB3\xC9\xB9\xA6\0tail", 13)});
    HttpRequest request;
    EXPECT_EQ(FetchReply(request, ReleaseUrl(Address(sim_, Line::Disposal), user_, "1000", "1")),
              QStringLiteral("释放成功"));
}

TEST_F(EndpointsWireTest, QrCodeBytesComeBackUnchanged) {
    const std::string png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
    sim_.Script("sc", {200, png});
    HttpRequest request;
    const QByteArray body =
        FetchReplyBytes(request, QrCodeUrl(Address(sim_, Line::Recharge), user_, "10"));
    EXPECT_EQ(body, QByteArray(png.data(), static_cast<qsizetype>(png.size())));
}

TEST_F(EndpointsWireTest, SilentServerGivesTheEmptyReplyAfterTheTimeout) {
    sim_.Script("fdx_tj", {200, "late", {}, 4000});
    const QString url = SendSmsUrl(Address(sim_, Line::Send), user_, "1001", "10690", "138", "x");
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(FetchReply(url, 1000), QString());
    EXPECT_GE(timer.elapsed(), 900);
    EXPECT_LT(timer.elapsed(), 10000);
}

TEST(PlatformCall, UnreachableServerGivesTheEmptyReply) {
    // The address of a platform that has stopped: nothing listens there any more.
    QString line;
    {
        platformsim::PlatformSim gone;
        ASSERT_TRUE(gone.Start());
        line = Address(gone, Line::Account);
        gone.Stop();
    }
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(FetchReply(SignUrl(line, "demo", "pw"), 2000), QString());
    EXPECT_LT(timer.elapsed(), 10000);
}

}  // namespace
}  // namespace lanxun
