// Every catalogue URL sent through HttpRequest to the local platform: the line
// it arrived on, which the catalogue chose, and the request target as the
// platform received it, character for character.

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <functional>
#include <optional>

#include "api/endpoints.h"
#include "api/http_request.h"
#include "api/platform_call.h"
#include "api/server_lines.h"
#include "platform_sim.h"
#include "support/sim_lines.h"

namespace lanxun {
namespace {

using platformsim::Line;

QString Address(const platformsim::PlatformSim& sim, Line line) {
    return QString::fromStdString(sim.Address(line));
}

// The client's lines point at the local platform, every line on a port of its
// own, so the listener that receives a request names the line it was sent on.
class EndpointsWireTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim_.Start());
        SetLines(test::SimLines(sim_));
    }

    platformsim::PlatformSim sim_;
    const Credentials user_{QStringLiteral("demo"), QStringLiteral("pw")};
};

struct WireCase {
    const char* name;
    Line line;  // where the platform must receive it
    std::function<EndpointCall()> call;
    const char* target;  // as received, still escaped
};

// "/yh_qh/username=..." -> "yh_qh".
QString EndpointWordOf(const std::string& target) {
    const QString path = QString::fromStdString(target);
    return path.mid(1, path.indexOf(u'/', 1) - 1);
}

TEST_F(EndpointsWireTest, EveryCatalogueUrlArrivesAsComposed) {
    const Credentials& u = user_;
    const QString update = Address(sim_, Line::Update);
    const QString segment = Address(sim_, Line::Segment);
    const NumberOptions defaults{QString(), QString(), QString(), QStringLiteral("1")};
    const NumberOptions chosen{QStringLiteral("1"), QStringLiteral("江苏"), QStringLiteral("2"),
                               QStringLiteral("2")};
    const NumberOptions neverClicked{QString(), QString(), QString(), QString()};
    const Registration registration{QStringLiteral("newuser"), QStringLiteral("pw1"),
                                    QStringLiteral("12345"),   QStringLiteral("张三"),
                                    QStringLiteral("a@b.cn"),  QString(),
                                    QStringLiteral("问"),      QStringLiteral("答 a")};
    // ASCII values: the transport leaves letters and digits alone, so only the
    // client's own encoding turns them into "%" escapes.
    const Registration asciiRegistration{"user2",     "pw2",  "67890", "Li 4",
                                         "pay2@x.cn", "1001", "Q1?",   "a1"};

    const std::vector<WireCase> cases = {
        {"sign", Line::Account, [] { return SignUrl("demo", "pw"); },
         "/sign/username=demo&password=pw"},
        {"sign with Chinese, space and #", Line::Account,
         [] { return SignUrl(QStringLiteral("用户 a"), "p#1"); },
         "/sign/username=%E7%94%A8%E6%88%B7%20a&password=p%231"},
        {"ZC", Line::Account, [&] { return RegisterUrl(registration); },
         "/ZC/username=newuser&password=pw1&password1=pw1&QQ=12345&Fullname=%E5%BC%A0%E4%B8%89"
         "&account=a@b.cn&Referee=&problem=%E9%97%AE&Answer=%E7%AD%94%20%61&type=1"},
        {"ZC, letters and digits encoded, the other values plain", Line::Account,
         [&] { return RegisterUrl(asciiRegistration); },
         "/ZC/username=user2&password=pw2&password1=pw2&QQ=67890&Fullname=%4C%69%20%34"
         "&account=pay2@x.cn&Referee=1001&problem=%51%31%3F&Answer=%61%31&type=1"},
        {"xg_mm", Line::Account, [&] { return ChangePasswordUrl(u, QStringLiteral("答"), "np"); },
         "/xg_mm/username=demo&password=pw&w=%E7%AD%94&p=np"},
        {"xg_aq", Line::Account,
         [&] { return ChangeSecurityUrl(u, "old", QStringLiteral("你的 小学?"), "new"); },
         "/xg_aq/username=demo&password=pw&w=old&xt=%E4%BD%A0%E7%9A%84%20%E5%B0%8F%E5%AD%A6?"
         "&w1=new"},
        {"xg_zl", Line::Account,
         [&] { return ChangeProfileUrl(u, "ans", "12345", QStringLiteral("李四"), "pay@x.cn"); },
         "/xg_zl/username=demo&password=pw&w=ans&q=12345&z=%E6%9D%8E%E5%9B%9B&f=pay@x.cn"},
        {"xg_zl, letters and digits stay plain", Line::Account,
         [&] { return ChangeProfileUrl(u, "ans1", "12345", "Li Si", "pay@x.cn"); },
         "/xg_zl/username=demo&password=pw&w=ans1&q=12345&z=Li%20Si&f=pay@x.cn"},
        {"xg_aq, letters and digits stay plain", Line::Account,
         [&] { return ChangeSecurityUrl(u, "old1", "Pet 2?", "new3"); },
         "/xg_aq/username=demo&password=pw&w=old1&xt=Pet%202?&w1=new3"},
        {"yh_qh batch, all default", Line::Number, [&] { return NumberUrl(u, "1000", defaults); },
         "/yh_qh/username=demo&password=pw&id=1000&operator=&region=&card=&loop=1"},
        {"yh_qh batch, options chosen", Line::Number, [&] { return NumberUrl(u, "1000", chosen); },
         "/yh_qh/username=demo&password=pw&id=1000&operator=1&region=%E6%B1%9F%E8%8B%8F&card=2"
         "&loop=2"},
        {"yh_qh send side before the loop box was clicked", Line::Number,
         [&] { return NumberUrl(u, "1001", neverClicked); },
         "/yh_qh/username=demo&password=pw&id=1001&operator=&region=&card=&loop="},
        {"yh_qh specified, receive side", Line::Number,
         [&] { return SpecifiedNumberUrl(u, "1000", "13800000000"); },
         "/yh_qh/username=demo&password=pw&id=1000&phone=13800000000"},
        {"yh_qh specified, send side, blanks kept", Line::Number,
         [&] { return SpecifiedNumberUrl(u, "1001", defaults, "138 0000 0000"); },
         "/yh_qh/username=demo&password=pw&id=1001&operator=&region=&card=&loop=1"
         "&phone=138%200000%200000"},
        {"yh_sf", Line::Disposal, [&] { return ReleaseUrl(u, "1000", "13800000000"); },
         "/yh_sf/username=demo&password=pw&id=1000&phone=13800000000"},
        {"yh_lh", Line::Disposal, [&] { return BlacklistUrl(u, "1000", "13800000000"); },
         "/yh_lh/username=demo&password=pw&id=1000&phone=13800000000"},
        {"yh_qm", Line::Poll, [&] { return PollUrl(u, "1000", "13800000000"); },
         "/yh_qm/username=demo&password=pw&id=1000&phone=13800000000"},
        {"cz_tj", Line::Poll,
         [&] { return ConfirmRechargeUrl(u, "2018010120003001110016521811abcd"); },
         "/cz_tj/username=demo&password=pw&d=2018010120003001110016521811abcd"},
        {"fdx_tj, content unencoded by the client", Line::Send,
         [&] { return SendSmsUrl(u, "1001", "10690", "13800000000", QStringLiteral("ok 好&x=1")); },
         "/fdx_tj/username=demo&password=pw&id=1001&send=10690&phone=13800000000"
         "&content=ok%20%E5%A5%BD&x=1"},
        {"liebiao_xm, full list", Line::Project, [&] { return ProjectListUrl(u, QString()); },
         "/liebiao_xm/username=demo&password=pw&lx=1&ss="},
        {"liebiao_xm, search with a blank", Line::Project,
         [&] { return ProjectListUrl(u, QStringLiteral("微 信")); },
         "/liebiao_xm/username=demo&password=pw&lx=1&ss=%E5%BE%AE%20%E4%BF%A1"},
        {"xiangmu_ysc, receive side", Line::Project,
         [&] { return FavouritesUrl(u, ProjectKind::ReceiveSms); },
         "/xiangmu_ysc/username=demo&password=pw"},
        {"xiangmu_ysc, send side", Line::Project,
         [&] { return FavouritesUrl(u, ProjectKind::SendSms); },
         "/xiangmu_ysc/username=demo&password=pw&l=1"},
        {"xiangmu_shouchan, three values in one", Line::Project,
         [&] { return AddFavouriteUrl(u, "1000", QStringLiteral("微信"), "1.5"); },
         "/xiangmu_shouchan/username=demo&password=pw&id=1000%23c-%E5%BE%AE%E4%BF%A1%23c-1.5"},
        {"xiangmu_qxsc", Line::Project, [&] { return RemoveFavouriteUrl(u, "1000"); },
         "/xiangmu_qxsc/username=demo&password=pw&id=1000"},
        {"sq_dx receive, every byte encoded", Line::Project,
         [&] { return ApplyReceiveProjectUrl(u, "ab", QStringLiteral("码\r\n1")); },
         "/sq_dx/username=demo&password=pw&m=%61%62&dx=%E7%A0%81%0D%0A%31&l=1"},
        {"sq_dx receive, letters and digits encoded", Line::Project,
         [&] { return ApplyReceiveProjectUrl(u, "QQ2", "code 1234"); },
         "/sq_dx/username=demo&password=pw&m=%51%51%32&dx=%63%6F%64%65%20%31%32%33%34&l=1"},
        {"sq_dx send", Line::Project, [&] { return ApplySendProjectUrl(u, "ab", "106#107"); },
         "/sq_dx/username=demo&password=pw&m=%61%62&hm=%31%30%36%23%31%30%37&l=2"},
        {"yh_zs_lb", Line::Docking, [&] { return DockingListUrl(u); },
         "/yh_zs_lb/username=demo&password=pw"},
        {"yh_zs_gk_lb", Line::Docking, [&] { return PublicDockingListUrl(u); },
         "/yh_zs_gk_lb/username=demo&password=pw"},
        {"yh_zs_jr", Line::Docking, [&] { return JoinDockingUrl(u, "ABCDEFGHIJKLM"); },
         "/yh_zs_jr/username=demo&password=pw&d=ABCDEFGHIJKLM"},
        {"yh_zs_fhzt", Line::Docking, [&] { return ToggleDockingUrl(u, "ABCDEFGHIJKLM"); },
         "/yh_zs_fhzt/username=demo&password=pw&d=ABCDEFGHIJKLM"},
        {"yh_zs_sc", Line::Docking, [&] { return DeleteDockingUrl(u, "ABCDEFGHIJKLM"); },
         "/yh_zs_sc/username=demo&password=pw&d=ABCDEFGHIJKLM"},
        {"yh_gx", Line::Docking, [&] { return BalanceUrl(u); }, "/yh_gx/username=demo&password=pw"},
        {"yh_mx page 1: no key", Line::Record, [&] { return PagedRecordsUrl(u, PagedList::Sms); },
         "/yh_mx/username=demo&password=pw"},
        {"yh_mx page 2", Line::Record, [&] { return PagedRecordsUrl(u, PagedList::Sms, "2"); },
         "/yh_mx/username=demo&password=pw&y=2"},
        {"yh_mx_s page 1: no &y=", Line::Record,
         [&] { return PagedSearchUrl(u, PagedList::Sms, "138"); },
         "/yh_mx_s/username=demo&password=pw&n=138"},
        {"yh_mx_s page 3, search with & and =", Line::Record,
         [&] { return PagedSearchUrl(u, PagedList::Sms, "a&b=c", "3"); },
         "/yh_mx_s/username=demo&password=pw&n=a&b=c&y=3"},
        {"tj_mx page 1", Line::Record, [&] { return PagedRecordsUrl(u, PagedList::Referral); },
         "/tj_mx/username=demo&password=pw"},
        {"tj_mx, empty page text", Line::Record,
         [&] { return PagedRecordsUrl(u, PagedList::Referral, ""); },
         "/tj_mx/username=demo&password=pw&y="},
        {"tj_mx_s, empty search", Line::Record,
         [&] { return PagedSearchUrl(u, PagedList::Referral, ""); },
         "/tj_mx_s/username=demo&password=pw&n="},
        {"tj_mx_s page 2", Line::Record,
         [&] { return PagedSearchUrl(u, PagedList::Referral, QStringLiteral("微信"), "2"); },
         "/tj_mx_s/username=demo&password=pw&n=%E5%BE%AE%E4%BF%A1&y=2"},
        {"tx_mx", Line::Record, [&] { return WithdrawalRecordsUrl(u); },
         "/tx_mx/username=demo&password=pw"},
        {"cz_mx", Line::Record, [&] { return RechargeRecordsUrl(u); },
         "/cz_mx/username=demo&password=pw"},
        {"tj", Line::Withdraw, [&] { return WithdrawUrl(u, "10.5"); },
         "/tj/username=demo&password=pw&j=10.5"},
        {"sc, amount as typed", Line::Recharge, [&] { return QrCodeUrl(u, " 10"); },
         "/sc/username=demo&password=pw&j=%2010"},
        {"cx", Line::Recharge, [&] { return TransferAccountUrl(u); },
         "/cx/username=demo&password=pw"},
        // The other services: their hosts are the build's, given here.
        {"version file", Line::Update, [&] { return VersionFileUrl(update); }, "/yh.txt"},
        {"update archive", Line::Update, [&] { return EndpointCall{UpdateArchiveUrl(update)}; },
         "/ky.zip"},
        {"segment lookup", Line::Segment, [&] { return SegmentLookupUrl(segment, "13800000000"); },
         "/cc/json/mobile_tel_segment.htm?tel=13800000000"},
    };

    HttpRequest request;  // one object for the whole run, as a handler's loop uses it
    QStringList wordsSent;
    for (const WireCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim_.ClearRequests();
        const EndpointCall call = c.call();
        FetchReply(request, call);
        const std::vector<platformsim::RecordedRequest> received = sim_.Requests();
        ASSERT_EQ(received.size(), 1u) << call.url.toStdString();
        EXPECT_EQ(received[0].target, c.target);
        // The port the catalogue chose is the listener of the expected line.
        EXPECT_EQ(received[0].line, platformsim::LineName(c.line));
        EXPECT_EQ(received[0].method, "GET");
        wordsSent << EndpointWordOf(received[0].target);
    }
    // Every endpoint of the catalogue has a case above.
    for (const QString& word : EndpointWords()) {
        EXPECT_TRUE(wordsSent.contains(word)) << word.toStdString();
    }
}

// The local platform keeps its own table of which line serves which endpoint
// (it names requests on the port that the poll and withdraw lines share in the
// demo); it must agree with the catalogue's.
TEST_F(EndpointsWireTest, TheLocalPlatformServesEveryEndpointOnTheCataloguesLine) {
    for (const QString& word : EndpointWords()) {
        SCOPED_TRACE(word.toStdString());
        const std::optional<Line> served = platformsim::EndpointLine(word.toStdString());
        ASSERT_TRUE(served.has_value());
        EXPECT_EQ(LineForEndpoint(word), Address(sim_, *served));
    }
}

TEST_F(EndpointsWireTest, FetchReplyGivesTheReplyTextAndSendsOnlyTheUserAgent) {
    sim_.Script("yh_qh", {200, "1|13800000000"});
    EXPECT_EQ(FetchReply(
                  NumberUrl(user_, "1000", {QString(), QString(), QString(), QStringLiteral("1")})),
              QStringLiteral("1|13800000000"));

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
    EXPECT_EQ(FetchReply(request, ReleaseUrl(user_, "1000", "1")), QStringLiteral("释放成功"));
}

TEST_F(EndpointsWireTest, QrCodeBytesComeBackUnchanged) {
    const std::string png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
    sim_.Script("sc", {200, png});
    HttpRequest request;
    const QByteArray body = FetchReplyBytes(request, QrCodeUrl(user_, "10"));
    EXPECT_EQ(body, QByteArray(png.data(), static_cast<qsizetype>(png.size())));
}

TEST_F(EndpointsWireTest, SilentServerGivesTheEmptyReplyAfterTheTimeout) {
    sim_.Script("fdx_tj", {200, "late", {}, 4000});
    // The call's own time-out is the one applied; shorter than fdx_tj's 5 s, so
    // the test does not wait that long.
    EndpointCall call = SendSmsUrl(user_, "1001", "10690", "138", "x");
    call.timeoutMs = 1000;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(FetchReply(call), QString());
    EXPECT_GE(timer.elapsed(), 900);
    EXPECT_LT(timer.elapsed(), 10000);
}

TEST_F(EndpointsWireTest, UnreachableServerGivesTheEmptyReply) {
    // The lines of a platform that has stopped: nothing listens there any more.
    {
        platformsim::PlatformSim gone;
        ASSERT_TRUE(gone.Start());
        SetLines(test::SimLines(gone));
        gone.Stop();
    }
    EndpointCall call = SignUrl("demo", "pw");
    call.timeoutMs = 2000;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(FetchReply(call), QString());
    EXPECT_LT(timer.elapsed(), 10000);
}

}  // namespace
}  // namespace lanxun
