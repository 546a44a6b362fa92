#include "api/http_request.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <thread>

#include "platform/gbk.h"
#include "platform_sim.h"
#include "support/sim_reply.h"
#include "support/sim_test.h"

namespace lanxun {
namespace {

using test::Reply;

using platformsim::Line;
using platformsim::PlatformSim;
using platformsim::ScriptedReply;
using ::testing::HasSubstr;
using ::testing::Not;

class HttpRequestTest : public test::SimTest {
protected:
    static QString Base() {
        return QStringLiteral("http://") + QString::fromStdString(sim_->Address(Line::Account));
    }
    static std::string OnlyTarget() {
        const auto requests = sim_->Requests();
        return requests.size() == 1 ? requests[0].target
                                    : "<" + std::to_string(requests.size()) + " requests>";
    }
    static std::string OnlyHeaders() {
        const auto requests = sim_->Requests();
        return requests.size() == 1 ? requests[0].headers : std::string();
    }
    // The reply text of one GET through a fresh object, as every platform call makes it.
    static QString Fetch(const QString& url, HttpRequest& request) {
        request.SetTimeouts(15000, 15000, 15000, 15000);
        request.Open(QStringLiteral("GET"), url);
        request.Send();
        return request.ResponseBodyText();
    }
};

// A loopback port that nothing listens on (bound once, then released).
int UnusedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(fd);
    return port;
}

TEST(HttpRequestOpen, NormalisesTheUrl) {
    struct Case {
        const char* given;
        const char* opened;
    } const cases[] = {
        {"example.com/a", "http://example.com/a"},
        {"HTTPS://example.com/a", "HTTPS://example.com/a"},
        {"Http://example.com/a", "Http://example.com/a"},
        {"https://x", "https://x"},
        {"ftp://example.com/", "http://ftp://example.com/"},
        {"a/b", "http://a/b"},
        // Shorter than 8 bytes: always prefixed, even a bare scheme.
        {"http://", "http://http://"},
        {"http:/", "http://http:/"},
        // A Chinese character counts two bytes.
        {"岚讯.cn", "http://岚讯.cn"},
    };
    HttpRequest request;
    for (const Case& c : cases) {
        request.Open(QStringLiteral("GET"), QString::fromUtf8(c.given));
        EXPECT_EQ(request.Url(), QString::fromUtf8(c.opened)) << c.given;
    }
}

TEST(HttpRequestDefaults, AfterConstruction) {
    HttpRequest request;
    EXPECT_TRUE(request.AutoHeaders());
    EXPECT_EQ(request.CookieMode(), 0);
    EXPECT_EQ(request.CookieJar(), QStringLiteral("; "));
    EXPECT_EQ(request.CookieJarLength(), 2);
    EXPECT_TRUE(request.IgnoreCertificateErrors());
    EXPECT_TRUE(request.FollowRedirects());
    EXPECT_TRUE(request.ComponentRedirects());
    EXPECT_EQ(request.Option(HttpTransport::kOptionSslErrorIgnoreFlags).toInt(), 0x3300);
    EXPECT_TRUE(request.Option(HttpTransport::kOptionEnableRedirects).toBool());
}

TEST(HttpRequestDefaults, SetTimeouts) {
    HttpRequest request;
    request.SetTimeouts(15000, 15000, 15000, 15000);
    auto t = request.Component()->GetTimeouts();
    EXPECT_EQ((std::vector{t.resolveMs, t.connectMs, t.sendMs, t.receiveMs}),
              (std::vector{15000, 15000, 15000, 15000}));
    request.SetTimeouts();
    t = request.Component()->GetTimeouts();
    EXPECT_EQ((std::vector{t.resolveMs, t.connectMs, t.sendMs, t.receiveMs}),
              (std::vector{10000, 15000, 120000, 300000}));
    request.SetTimeouts(1, 2);
    t = request.Component()->GetTimeouts();
    EXPECT_EQ((std::vector{t.resolveMs, t.connectMs, t.sendMs, t.receiveMs}),
              (std::vector{1, 2, 120000, 300000}));
}

TEST(HttpRequestDefaults, OptionSixFollowsTheObject) {
    HttpRequest request;
    EXPECT_FALSE(request.Option(HttpTransport::kOptionEnableRedirects, false).toBool());
    EXPECT_FALSE(request.FollowRedirects());
    EXPECT_FALSE(request.ComponentRedirects());
    request.SetFollowRedirects(true);
    EXPECT_TRUE(request.FollowRedirects());
    EXPECT_TRUE(request.Option(HttpTransport::kOptionEnableRedirects).toBool());
    request.SetIgnoreCertificateErrors(false);
    EXPECT_EQ(request.Option(HttpTransport::kOptionSslErrorIgnoreFlags).toInt(), 0);
    EXPECT_FALSE(request.IgnoreCertificateErrors());
    // An option the component does not have: no value, and a description.
    EXPECT_FALSE(request.Option(99).isValid());
    EXPECT_FALSE(request.LastError().isEmpty());
}

TEST(HttpRequestDefaults, CopySharesTheComponent) {
    HttpRequest request;
    request.Open(QStringLiteral("GET"), QStringLiteral("http://example.com/x"));
    HttpRequest copy = request;
    EXPECT_EQ(copy.Component(), request.Component());
    EXPECT_EQ(copy.Url(), request.Url());
    request.Reset();
    EXPECT_NE(copy.Component(), request.Component());
}

TEST_F(HttpRequestTest, DefaultHeaders) {
    const std::string agent = "User-Agent: Mozilla/5.0 (compatible; MSIE 10.0; Windows NT 6.2)\r\n";
    const std::string form = "Content-Type: application/x-www-form-urlencoded\r\n";
    struct Case {
        const char* name;
        const char* method;
        const char* callerHeader;  // set after Open, "Name: value"
        bool withBody;
        bool expectAgent;
        bool expectForm;
    } const cases[] = {
        {"plain GET", "GET", nullptr, false, true, false},
        {"lower-case post", "post", nullptr, false, true, true},
        {"GET with a body", "GET", nullptr, true, true, true},
        {"caller's agent", "GET", "user-agent: mine", false, false, false},
        {"caller's type", "POST", "Content-Type: text/plain", false, true, false},
    };
    for (const Case& c : cases) {
        sim_->ClearRequests();
        HttpRequest request;
        request.Open(QString::fromLatin1(c.method), Base() + QStringLiteral("/h"));
        if (c.callerHeader != nullptr) {
            const QStringList parts =
                QString::fromLatin1(c.callerHeader).split(QStringLiteral(": "));
            request.SetRequestHeader(parts[0], parts[1]);
        }
        if (c.withBody) {
            request.Send(QStringLiteral("a=1"));
        } else {
            request.Send();
        }
        const std::string headers = OnlyHeaders();
        EXPECT_EQ(headers.find(agent) != std::string::npos, c.expectAgent) << c.name << headers;
        EXPECT_EQ(headers.find(form) != std::string::npos, c.expectForm) << c.name << headers;
        if (c.callerHeader != nullptr) {
            EXPECT_THAT(headers, HasSubstr(c.callerHeader)) << c.name;
            EXPECT_EQ(headers.find("User-Agent:"), headers.rfind("User-Agent:")) << c.name;
        }
        EXPECT_THAT(headers, Not(HasSubstr("Cookie"))) << c.name;
    }
}

TEST_F(HttpRequestTest, AutoHeadersOffSendsNone) {
    HttpRequest request;
    request.SetAutoHeaders(false);
    request.Open(QStringLiteral("POST"), Base() + QStringLiteral("/h"));
    request.Send(QStringLiteral("x"));
    EXPECT_THAT(OnlyHeaders(), Not(HasSubstr("MSIE")));
    EXPECT_THAT(OnlyHeaders(), Not(HasSubstr("x-www-form-urlencoded")));
}

TEST_F(HttpRequestTest, ReplyTextIsCutAtTheFirstZeroByte) {
    struct Case {
        std::string body;
        QString text;
    } const cases[] = {
        {std::string("ab\0cd", 5), QStringLiteral("ab")},
        {std::string("\0ab", 3), QString()},
        {"", QString()},
        {ToGbk(QStringLiteral("1|成功")).toStdString(), QStringLiteral("1|成功")},
        // Invalid GBK still reads, one replacement character per bad byte.
        {"1|\xFF\x80\x81", QStringLiteral("1|\uFFFD€\uFFFD")},
    };
    for (const Case& c : cases) {
        sim_->Script("/z", Reply(200, c.body));
        HttpRequest request;
        EXPECT_EQ(Fetch(Base() + QStringLiteral("/z"), request), c.text);
        EXPECT_EQ(request.ResponseBody(), QByteArray::fromStdString(c.body));
    }
}

TEST_F(HttpRequestTest, SeveralMebibyteReply) {
    std::string body(6 << 20, 'x');
    for (size_t i = 0; i < body.size(); i += 4096) {
        body[i] = '|';
    }
    sim_->Script("/big", Reply(200, body));
    HttpRequest request;
    const QString text = Fetch(Base() + QStringLiteral("/big"), request);
    EXPECT_EQ(text.size(), static_cast<qsizetype>(body.size()));
    EXPECT_EQ(request.ResponseBody(), QByteArray::fromStdString(body));
}

TEST_F(HttpRequestTest, FailedRequestsGiveTheEmptyReply) {
    HttpRequest request;
    // Nothing was sent yet.
    EXPECT_EQ(request.ResponseBodyText(), QString());
    EXPECT_EQ(request.Status(), 0);

    const int freePort = UnusedPort();
    ASSERT_GT(freePort, 0);
    const QString refused = QStringLiteral("http://127.0.0.1:%1/sign/x").arg(freePort);
    EXPECT_TRUE(request.Send());  // Send reports nothing, whatever happens
    EXPECT_EQ(Fetch(refused, request), QString());
    EXPECT_EQ(request.Status(), 0);
    EXPECT_EQ(request.StatusText(), QString());
    EXPECT_EQ(request.GetAllResponseHeaders(), QString());
    EXPECT_FALSE(request.LastError().isEmpty());

    // A connection closed without a reply.
    sim_->Script("/drop", Reply(200, "", {}, 0, true));
    EXPECT_EQ(Fetch(Base() + QStringLiteral("/drop"), request), QString());
    EXPECT_EQ(request.Status(), 0);
    EXPECT_FALSE(request.LastError().isEmpty());

    // The object is still good for the next request.
    sim_->Script("/ok", Reply(200, "1|ok"));
    EXPECT_EQ(Fetch(Base() + QStringLiteral("/ok"), request), QStringLiteral("1|ok"));
    EXPECT_EQ(request.Status(), 200);
    EXPECT_EQ(request.LastError(), QString());
}

TEST_F(HttpRequestTest, SilentServerGivesTheEmptyReplyAfterTheReceiveTimeout) {
    // The reply would come after 20 s; an empty text with a receive error shows
    // that the 1 s limit ended the wait.
    sim_->Script("/silent", Reply(200, "late", {}, 20000));
    HttpRequest request;
    request.SetTimeouts(15000, 15000, 15000, 1000);
    request.Open(QStringLiteral("GET"), Base() + QStringLiteral("/silent"));
    QElapsedTimer clock;
    clock.start();
    request.Send();
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(request.ResponseBodyText(), QString());
    EXPECT_GE(elapsed, 900);
    EXPECT_THAT(request.LastError().toStdString(), HasSubstr("receive"));
}

TEST_F(HttpRequestTest, UrlGoesOutEscapedOnlyWhereNeeded) {
    struct Case {
        const char* value;
        const char* received;
    } const cases[] = {
        {"中文", "%E4%B8%AD%E6%96%87"},
        {"a b", "a%20b"},
        {"1#c-2#c-3", "1%23c-2%23c-3"},
        {"a&b=c", "a&b=c"},
        {"%41", "%41"},
        {"岚 讯#", "%E5%B2%9A%20%E8%AE%AF%23"},
        {"/../x", "/../x"},
        {"a|b,c~'!*()", "a|b,c~'!*()"},
        {"\r\nX: y", "%0D%0AX:%20y"},
    };
    for (const Case& c : cases) {
        sim_->ClearRequests();
        HttpRequest request;
        Fetch(Base() + QStringLiteral("/xiangmu_shouchan/username=u&password=p&v=") +
                  QString::fromUtf8(c.value),
              request);
        EXPECT_EQ(OnlyTarget(),
                  std::string("/xiangmu_shouchan/username=u&password=p&v=") + c.received)
            << c.value;
    }
}

// Each step of a chain answers 302 with the next step as its "Location".
void ScriptChain(PlatformSim& sim, int steps) {
    for (int i = 1; i <= steps; ++i) {
        sim.Script("/r" + std::to_string(i),
                   Reply(302, "", {{"Location", "/r" + std::to_string(i + 1)}}));
    }
    sim.Script("/r" + std::to_string(steps + 1), Reply(200, "end"));
}

TEST_F(HttpRequestTest, OwnRedirectsStopAfterTwentyFollowUps) {
    ScriptChain(*sim_, 21);
    HttpRequest request;
    // The object follows by itself; the component does not.
    request.Component()->SetOption(HttpTransport::kOptionEnableRedirects, false);
    Fetch(Base() + QStringLiteral("/r1"), request);
    const auto requests = sim_->Requests();
    ASSERT_EQ(requests.size(), 21u);
    EXPECT_EQ(requests.front().target, "/r1");
    EXPECT_EQ(requests.back().target, "/r21");
    EXPECT_EQ(request.Status(), 302);
    EXPECT_EQ(request.RedirectCount(), 0);
    EXPECT_EQ(request.Url(), Base() + QStringLiteral("/r21"));

    // A chain within the limit ends at its last step.
    sim_->ClearRequests();
    ScriptChain(*sim_, 20);
    EXPECT_EQ(Fetch(Base() + QStringLiteral("/r1"), request), QStringLiteral("end"));
    EXPECT_EQ(sim_->Requests().size(), 21u);
    EXPECT_EQ(request.RedirectCount(), 0);
}

TEST_F(HttpRequestTest, FollowUpIsAlwaysAPlainGet) {
    sim_->Script("/form", Reply(302, "", {{"Location", "done.php"}}));
    sim_->Script("/done.php", Reply(200, "1"));
    HttpRequest request;
    request.Component()->SetOption(HttpTransport::kOptionEnableRedirects, false);
    request.Open(QStringLiteral("POST"), Base() + QStringLiteral("/form"));
    request.Send(QStringLiteral("a=1"));
    EXPECT_EQ(request.ResponseBodyText(), QStringLiteral("1"));
    const auto requests = sim_->Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].body, "a=1");
    EXPECT_EQ(requests[1].method, "GET");
    EXPECT_EQ(requests[1].target, "/done.php");
    EXPECT_EQ(requests[1].body, "");
}

TEST_F(HttpRequestTest, RedirectLocation) {
    const QString base = Base();
    struct Case {
        std::string location;
        QString absolute;
    } const cases[] = {
        {"/c", base + QStringLiteral("/c")},
        {"  /c  ", base + QStringLiteral("/c")},
        {"x.php", base + QStringLiteral("/a/x.php")},
        {"https://other.example/p", QStringLiteral("https://other.example/p")},
        {"HTTP://other.example/p", QStringLiteral("HTTP://other.example/p")},
        {"//other.example/p", QStringLiteral("http://other.example/p")},
    };
    for (const Case& c : cases) {
        sim_->Script("/a/b.php", Reply(302, "", {{"Location", c.location}}));
        HttpRequest request;
        request.SetFollowRedirects(false);
        Fetch(base + QStringLiteral("/a/b.php"), request);
        EXPECT_EQ(request.Status(), 302);
        EXPECT_EQ(request.RedirectLocation(true), c.absolute) << c.location;
        EXPECT_EQ(request.RedirectLocation(false), QString::fromStdString(c.location).trimmed());
    }
}

TEST_F(HttpRequestTest, WhatIsNotARedirect) {
    struct Case {
        const char* name;
        ScriptedReply reply;
    } const cases[] = {
        {"no Location", Reply(302, "a")},
        {"Content-Location", Reply(200, "a", {{"Content-Location", "/other"}})},
        {"201 Created", Reply(201, "a", {{"Location", "/made/1"}})},
    };
    for (const Case& c : cases) {
        sim_->ClearRequests();
        sim_->Script("/p", c.reply);
        HttpRequest request;
        request.Component()->SetOption(HttpTransport::kOptionEnableRedirects, false);
        EXPECT_EQ(Fetch(Base() + QStringLiteral("/p"), request), QStringLiteral("a")) << c.name;
        EXPECT_EQ(sim_->Requests().size(), 1u) << c.name;
        EXPECT_EQ(request.RedirectCount(), 0) << c.name;
    }
}

TEST_F(HttpRequestTest, RelativeRedirectIsFollowedFromTheCurrentDirectory) {
    sim_->Script("/a/b.php", Reply(302, "", {{"Location", "x.php"}}));
    sim_->Script("/a/x.php", Reply(200, "here"));
    HttpRequest request;
    request.Component()->SetOption(HttpTransport::kOptionEnableRedirects, false);
    EXPECT_EQ(Fetch(Base() + QStringLiteral("/a/b.php"), request), QStringLiteral("here"));
    const auto requests = sim_->Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].target, "/a/x.php");
}

TEST(HttpRequestUrl, Parse) {
    struct Case {
        const char* url;
        const char* scheme;
        const char* host;
        int port;
        const char* path;
    } const cases[] = {
        {"http://abcde:81/a/b.php", "http://", "abcde", 81, "/a/b.php"},
        {"http://abcde:8/a/b.php", "http://", "abcde", 80, "/a/b.php"},
        {"http://abcde:10/a", "http://", "abcde", 80, "/a"},
        {"http://abcde:11/a", "http://", "abcde", 11, "/a"},
        {"HTTPS://abcde/a", "https://", "abcde", 443, "/a"},
        {"https://abcde:8443/a", "https://", "abcde", 8443, "/a"},
        {"http://abcde", "http://", "abcde", 80, "/"},
        {"abcde.cn/x", "http://", "abcde.cn", 80, "/x"},
        {"ab/x", "http://", "ab", 80, "/x"},
        // A short host does not take the scheme's ":" for a port.
        {"http://a.cn/x", "http://", "a.cn", 80, "/x"},
        {"https://a/x", "https://", "a", 443, "/x"},
        // A ":" far before the path is no port; one inside the path neither.
        {"http://user:pw@longhostname.example/x", "http://", "user:pw@longhostname.example", 80,
         "/x"},
        {"http://abcde/x:81", "http://", "abcde", 80, "/x:81"},
        {"http://岚讯平台:81/a", "http://", "岚讯平台", 81, "/a"},
    };
    for (const Case& c : cases) {
        const auto parts = ParseUrl(QString::fromUtf8(c.url));
        ASSERT_TRUE(parts) << c.url;
        EXPECT_EQ(parts->scheme, QString::fromLatin1(c.scheme)) << c.url;
        EXPECT_EQ(parts->host, QString::fromUtf8(c.host)) << c.url;
        EXPECT_EQ(parts->port, c.port) << c.url;
        EXPECT_EQ(parts->path, QString::fromUtf8(c.path)) << c.url;
    }
    EXPECT_FALSE(ParseUrl(QString()));
}

TEST_F(HttpRequestTest, WorkerThreadRequestBlocksAndKeepsItsObject) {
    sim_->Script("/w", Reply(200, "1|w"));
    QString first, second;
    std::thread worker([&] {
        HttpRequest request;
        first = Fetch(Base() + QStringLiteral("/w"), request);
        second = Fetch(Base() + QStringLiteral("/w"), request);
    });
    worker.join();
    EXPECT_EQ(first, QStringLiteral("1|w"));
    EXPECT_EQ(second, QStringLiteral("1|w"));
}

TEST_F(HttpRequestTest, AsynchronousRequest) {
    sim_->Script("/slow", Reply(200, "done", {}, 6000));
    HttpRequest request;
    request.Open(QStringLiteral("GET"), Base() + QStringLiteral("/slow"), true);
    QElapsedTimer clock;
    clock.start();
    request.Send();
    EXPECT_LT(clock.elapsed(), 5000);  // returns before the reply
    EXPECT_TRUE(request.IsAsync());
    EXPECT_FALSE(request.WaitForResponse(10));
    EXPECT_EQ(request.ResponseBodyText(), QString());  // not there yet
    EXPECT_TRUE(request.WaitForResponse(10000));
    EXPECT_EQ(request.ResponseBodyText(), QStringLiteral("done"));

    // Abort ends a request that would take long.
    sim_->Script("/slow", Reply(200, "done", {}, 30000));
    request.Open(QStringLiteral("GET"), Base() + QStringLiteral("/slow"), true);
    request.Send();
    clock.restart();
    request.Abort();
    EXPECT_LT(clock.elapsed(), 15000);  // not waiting for the 30 s reply
    EXPECT_EQ(request.Status(), 0);
    EXPECT_FALSE(request.WaitForResponse(10));
}

TEST_F(HttpRequestTest, ResponseReads) {
    sim_->Script("/r", Reply(200, "\xE4\xB8\xAD\xF0\x9F\x98\x80",
                             {{"Content-Type", "text/plain; charset=utf-8"}, {"X-Two", "2"}}));
    HttpRequest request;
    Fetch(Base() + QStringLiteral("/r"), request);
    EXPECT_EQ(request.ResponseText(), QStringLiteral("中😀"));
    EXPECT_EQ(request.ResponseBodyUtf8(65001), QStringLiteral("中😀"));
    EXPECT_EQ(request.ResponseBodyUtf8(), QStringLiteral("中?"));
    EXPECT_EQ(request.GetResponseHeader(QStringLiteral("x-two")), QStringLiteral("2"));
    EXPECT_EQ(request.StatusText(), QStringLiteral("OK"));
    const QString headers = request.GetAllResponseHeaders();
    EXPECT_THAT(headers.toStdString(), HasSubstr("X-Two: 2\r\n"));
    EXPECT_FALSE(headers.startsWith(QStringLiteral("HTTP/")));
    EXPECT_TRUE(headers.endsWith(QStringLiteral("\r\n")));
    auto stream = request.ResponseStream();
    EXPECT_EQ(stream->readAll(), request.ResponseBody());

    sim_->Script("/r", Reply(200, "\xFF\xFE not utf-8"));
    Fetch(Base() + QStringLiteral("/r"), request);
    EXPECT_EQ(request.ResponseBodyUtf8(), QString());
}

}  // namespace
}  // namespace lanxun
