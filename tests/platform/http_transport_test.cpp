#include "platform/http_transport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/gbk.h"
#include "platform/worker.h"
#include "platform_sim.h"
#include "support/fake_services.h"
#include "support/sim_reply.h"
#include "support/sim_test.h"

namespace lanxun {
namespace {

using test::Reply;

using platformsim::Line;
using platformsim::PlatformSim;
using ::testing::HasSubstr;
using ::testing::Not;

// A loopback listener for what the platform sim cannot do: count connections,
// never read, or never accept.
class RawServer {
public:
    enum class Mode {
        kAnswerKeepAlive,  // answers every request on a connection with "ok"
        kNeverRead,        // accepts and never reads
        kNeverAccept,      // listens with a full backlog
    };

    explicit RawServer(Mode mode) : mode_(mode) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        listen(fd_, mode == Mode::kNeverAccept ? 0 : 16);
        if (mode == Mode::kNeverAccept) {
            // Fill the accept queue so that the next SYN goes unanswered.
            for (int i = 0; i < 4; ++i) {
                const int client = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
                connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address);
                fillers_.push_back(client);
            }
        } else {
            thread_ = std::thread([this] { Serve(); });
        }
    }
    ~RawServer() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
        for (int fd : fillers_) {
            close(fd);
        }
        close(fd_);
    }

    QString Url(const char* path = "/") const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(QLatin1String(path));
    }
    int Connections() const { return connections_; }

private:
    void Serve() {
        std::vector<pollfd> fds{{fd_, POLLIN, 0}};
        std::vector<std::string> buffers{""};
        while (!stop_) {
            if (poll(fds.data(), fds.size(), 20) <= 0) {
                continue;
            }
            if (fds[0].revents & POLLIN) {
                const int client = accept(fd_, nullptr, nullptr);
                ++connections_;
                fillers_.push_back(client);
                if (mode_ == Mode::kAnswerKeepAlive) {
                    fds.push_back({client, POLLIN, 0});
                    buffers.emplace_back();
                }
            }
            for (size_t i = 1; i < fds.size(); ++i) {
                if ((fds[i].revents & POLLIN) == 0) {
                    continue;
                }
                char chunk[4096];
                const ssize_t got = read(fds[i].fd, chunk, sizeof chunk);
                if (got <= 0) {
                    fds[i].events = 0;
                    continue;
                }
                buffers[i].append(chunk, got);
                size_t end;
                while ((end = buffers[i].find("\r\n\r\n")) != std::string::npos) {
                    buffers[i].erase(0, end + 4);
                    const std::string reply =
                        "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nX-Reply: 1\r\n\r\nok";
                    (void)!write(fds[i].fd, reply.data(), reply.size());
                }
            }
        }
    }

    Mode mode_;
    int fd_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    std::vector<int> fillers_;
};

class HttpTransportTest : public test::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        transport_.SetTimeouts(5000, 5000, 5000, 5000);
    }
    bool Get(const QString& url) {
        transport_.Open(QStringLiteral("GET"), url);
        return transport_.Send();
    }

    HttpTransport transport_;
};

TEST(HttpTransportEscape, Table) {
    struct Case {
        const char* url;
        const char* escaped;
    } const cases[] = {
        {"http://h/a?b=1&c=2", "http://h/a?b=1&c=2"}, {"http://h/中", "http://h/%E4%B8%AD"},
        {"http://h/a b", "http://h/a%20b"},           {"http://h/#c-", "http://h/%23c-"},
        {"http://h/%41%zz", "http://h/%41%zz"},       {"http://h/\t\x7f", "http://h/%09%7F"},
        {"http://h/\u3000", "http://h/%E3%80%80"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HttpTransport::EscapeUrl(QString::fromUtf8(c.url)), QByteArray(c.escaped))
            << c.url;
    }
}

TEST_F(HttpTransportTest, HeadersOfTheFinalResponseOnly) {
    sim_->Script("/first", Reply(302, "moved", {{"Location", "/second"}, {"X-First", "1"}}));
    sim_->Script("/second", Reply(200, "there", {{"X-Last", "2"}, {"X-Name", "成功"}}));
    ASSERT_TRUE(Get(Url("/first")));
    EXPECT_EQ(transport_.Status(), 200);
    EXPECT_EQ(transport_.StatusText(), QStringLiteral("OK"));
    EXPECT_EQ(transport_.ResponseBody(), QByteArray("there"));
    const std::string headers = transport_.AllResponseHeaders().toStdString();
    EXPECT_THAT(headers, HasSubstr("X-Last: 2\r\n"));
    EXPECT_THAT(headers, Not(HasSubstr("X-First")));
    EXPECT_THAT(headers, Not(HasSubstr("HTTP/")));
    EXPECT_EQ(transport_.ResponseHeader(QStringLiteral("x-last")), QStringLiteral("2"));
    EXPECT_EQ(transport_.ResponseHeader(QStringLiteral("X-Missing")), QString());

    // Automatic redirects off: the 302 itself is the response.
    transport_.SetOption(HttpTransport::kOptionEnableRedirects, false);
    ASSERT_TRUE(Get(Url("/first")));
    EXPECT_EQ(transport_.Status(), 302);
    EXPECT_EQ(transport_.ResponseHeader(QStringLiteral("Location")), QStringLiteral("/second"));
}

TEST_F(HttpTransportTest, TooManyAutomaticRedirectsFail) {
    for (int i = 0; i < 12; ++i) {
        sim_->Script("/loop" + std::to_string(i),
                     Reply(302, "", {{"Location", "/loop" + std::to_string(i + 1)}}));
    }
    EXPECT_FALSE(Get(Url("/loop0")));
    EXPECT_EQ(transport_.Status(), 0);
    EXPECT_FALSE(transport_.LastError().isEmpty());
    transport_.SetOption(HttpTransport::kOptionMaxAutomaticRedirects, 20);
    sim_->Script("/loop12", Reply(200, "end"));
    EXPECT_TRUE(Get(Url("/loop0")));
    EXPECT_EQ(transport_.ResponseBody(), QByteArray("end"));
}

TEST_F(HttpTransportTest, RequestHeadersAndBodies) {
    sim_->Script("/post", Reply(200, "ok"));
    transport_.Open(QStringLiteral("POST"), Url("/post"));
    transport_.SetRequestHeader(QStringLiteral("X-A"), QStringLiteral("1"));
    transport_.SetRequestHeader(QStringLiteral("x-a"), QStringLiteral("2"));  // replaces
    transport_.SetRequestHeader(QStringLiteral("X-B"), QStringLiteral("gone"));
    transport_.SetRequestHeader(QStringLiteral("X-B"), QString());  // removes
    transport_.SetRequestHeader(QStringLiteral("X-Evil"), QStringLiteral("a\r\nX-Injected: 1"));
    EXPECT_FALSE(transport_.SetRequestHeader(QStringLiteral("Bad:Name"), QStringLiteral("v")));
    ASSERT_TRUE(transport_.Send(QStringLiteral("名=值")));
    auto requests = sim_->Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].body, "\xE5\x90\x8D=\xE5\x80\xBC");  // UTF-8 by default
    EXPECT_THAT(requests[0].headers, HasSubstr("x-a: 2\r\n"));
    EXPECT_THAT(requests[0].headers, Not(HasSubstr("X-A: 1")));
    EXPECT_THAT(requests[0].headers, Not(HasSubstr("X-B")));
    EXPECT_THAT(requests[0].headers, Not(HasSubstr("\r\nX-Injected")));
    EXPECT_THAT(requests[0].headers, Not(HasSubstr("Expect")));

    // A GBK charset in the request's type sends the text as GBK.
    sim_->ClearRequests();
    transport_.Open(QStringLiteral("POST"), Url("/post"));
    transport_.SetRequestHeader(QStringLiteral("Content-Type"),
                                QStringLiteral("application/x-www-form-urlencoded; charset=GBK"));
    ASSERT_TRUE(transport_.Send(QStringLiteral("名=值")));
    requests = sim_->Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(QByteArray::fromStdString(requests[0].body), ToGbk(QStringLiteral("名=值")));

    // Bytes go out unchanged, zero bytes included; other methods keep their name.
    sim_->ClearRequests();
    transport_.Open(QStringLiteral("put"), Url("/post"));
    ASSERT_TRUE(transport_.Send(QByteArray("a\0b", 3)));
    requests = sim_->Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "PUT");
    EXPECT_EQ(requests[0].body, std::string("a\0b", 3));
}

TEST_F(HttpTransportTest, SendWithoutOpenFails) {
    HttpTransport fresh;
    EXPECT_FALSE(fresh.Send());
    EXPECT_FALSE(fresh.LastError().isEmpty());
    EXPECT_EQ(fresh.ResponseBody(), QByteArray());
    EXPECT_FALSE(fresh.WaitForResponse(0));
    EXPECT_FALSE(fresh.Open(QStringLiteral("GET"), QString()));
    EXPECT_FALSE(fresh.Send());
}

TEST_F(HttpTransportTest, OnlyHttpSchemes) {
    EXPECT_FALSE(Get(QStringLiteral("file:///etc/passwd")));
    EXPECT_EQ(transport_.ResponseBody(), QByteArray());
    EXPECT_FALSE(transport_.LastError().isEmpty());
}

TEST_F(HttpTransportTest, KeepsItsConnectionBetweenRequests) {
    RawServer server(RawServer::Mode::kAnswerKeepAlive);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(Get(server.Url("/k"))) << transport_.LastError().toStdString();
        EXPECT_EQ(transport_.ResponseBody(), QByteArray("ok"));
    }
    EXPECT_EQ(server.Connections(), 1);
}

TEST_F(HttpTransportTest, ConnectTimeout) {
    RawServer server(RawServer::Mode::kNeverAccept);
    transport_.SetTimeouts(5000, 1000, 30000, 30000);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Get(server.Url("/c")));
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 900);
    EXPECT_LT(elapsed, 10000);
    EXPECT_THAT(transport_.LastError().toStdString(), HasSubstr("connect"));
}

TEST_F(HttpTransportTest, SendTimeout) {
    RawServer server(RawServer::Mode::kNeverRead);
    transport_.SetTimeouts(5000, 5000, 1000, 30000);
    transport_.Open(QStringLiteral("POST"), server.Url("/s"));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(transport_.Send(QByteArray(64 << 20, 'x')));
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 900);
    EXPECT_LT(elapsed, 10000);
    EXPECT_THAT(transport_.LastError().toStdString(), HasSubstr("send"));
}

TEST_F(HttpTransportTest, ReceiveTimeoutEndsASilentWait) {
    // The reply would come after 2 s; an empty result with a receive error
    // shows that the 500 ms limit ended the wait.
    sim_->Script("/silent", Reply(200, "late", {}, 2000));
    transport_.SetTimeouts(5000, 5000, 5000, 500);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Get(Url("/silent")));
    EXPECT_GE(clock.elapsed(), 450);
    EXPECT_EQ(transport_.ResponseBody(), QByteArray());
    EXPECT_THAT(transport_.LastError().toStdString(), HasSubstr("receive"));

    transport_.SetTimeouts(5000, 5000, 5000, 0);  // no limit
    EXPECT_TRUE(Get(Url("/silent")));
    EXPECT_EQ(transport_.ResponseBody(), QByteArray("late"));
}

TEST_F(HttpTransportTest, ReceiveTimeoutCountsFromTheLastByte) {
    transport_.SetTimeouts(5000, 5000, 5000, 500);

    // 40 bytes 50 ms apart: the whole reply takes four times the limit, but
    // no wait for the next byte comes near it.
    const std::string body(40, 'x');
    sim_->Script("/trickle", test::TrickledReply(body, 50));
    ASSERT_TRUE(Get(Url("/trickle"))) << transport_.LastError().toStdString();
    EXPECT_EQ(transport_.ResponseBody(), QByteArray::fromStdString(body));

    // The headers come at once, then the wait for the first body byte is
    // longer than the limit: the reply ends there, empty.
    sim_->Script("/stall", test::TrickledReply("ab", 1500));
    EXPECT_FALSE(Get(Url("/stall")));
    EXPECT_EQ(transport_.Status(), 0);
    EXPECT_EQ(transport_.ResponseBody(), QByteArray());
    EXPECT_THAT(transport_.LastError().toStdString(), HasSubstr("receive"));
}

// On a fast clock the limits end that much sooner (the reply, held for 20 real seconds,
// would otherwise arrive inside the 30 s limit), and the message names the nominal limit.
TEST_F(HttpTransportTest, TimeoutsFollowTheInstalledClock) {
    test::FastClock fast(100, QDateTime::currentDateTime(), test::FastClock::TimeOuts::Fast);
    test::ScopedClock installed(fast);
    sim_->Script("/held", Reply(200, "late", {}, 20000));
    transport_.SetTimeouts(0, 0, 0, 30000);
    EXPECT_FALSE(Get(Url("/held")));
    EXPECT_THAT(transport_.LastError().toStdString(), HasSubstr("receive time-out of 30000 ms"));
}

// A worker's stop ends its request in flight (held for 20 s here, far inside its limit), and
// a stopped worker sends nothing more: the platform sees the first request only.
TEST_F(HttpTransportTest, AWorkersStopEndsItsRequestAndItSendsNoMore) {
    sim_->Script("/held", Reply(200, "late", {}, 20000));
    sim_->Script("/after", Reply(200, "after"));
    struct Results {
        bool held = true;
        QString heldError;
        bool after = true;
        QString afterError;
    } results;
    FunctionWorker worker([&] {
        HttpTransport transport;
        transport.SetTimeouts(5000, 5000, 5000, 30000);
        transport.Open(QStringLiteral("GET"), Url("/held"));
        results.held = transport.Send();
        results.heldError = transport.LastError();
        transport.Open(QStringLiteral("GET"), Url("/after"));
        results.after = transport.Send();
        results.afterError = transport.LastError();
    });
    worker.Start();
    ASSERT_TRUE(sim_->WaitForRequests(1, std::chrono::seconds(30)));
    worker.Stop();
    EXPECT_FALSE(results.held);
    EXPECT_THAT(results.heldError.toStdString(), HasSubstr("abort"));
    EXPECT_FALSE(results.after);
    EXPECT_THAT(results.afterError.toStdString(), HasSubstr("abort"));
    EXPECT_EQ(sim_->Requests().size(), 1u);
}

TEST_F(HttpTransportTest, NamedProxyWithCredentials) {
    sim_->Script("/via", Reply(200, "proxied"));
    sim_->SetProxyCredentials("pu", "pp");
    const QString proxy = QString::fromStdString(sim_->Address(Line::Proxy));
    ASSERT_TRUE(transport_.SetProxy(HttpTransport::kProxyNamed, proxy));
    ASSERT_TRUE(Get(Url("/via")));
    EXPECT_EQ(transport_.Status(), 407);

    transport_.SetCredentials(QStringLiteral("pu"), QStringLiteral("pp"), HttpTransport::kForProxy);
    ASSERT_TRUE(Get(Url("/via")));
    EXPECT_EQ(transport_.Status(), 200);
    EXPECT_EQ(transport_.ResponseBody(), QByteArray("proxied"));
    const auto requests = sim_->Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().line, "accountLine");
    EXPECT_EQ(requests[requests.size() - 2].line, "proxy");
    EXPECT_EQ(requests[requests.size() - 2].target, Url("/via").toStdString());
    EXPECT_THAT(requests[requests.size() - 2].headers,
                HasSubstr("Proxy-Authorization: Basic cHU6cHA="));

    // Direct again: the proxy sees nothing more.
    sim_->ClearRequests();
    ASSERT_TRUE(transport_.SetProxy(HttpTransport::kProxyDirect));
    ASSERT_TRUE(Get(Url("/via")));
    ASSERT_EQ(sim_->Requests().size(), 1u);
    EXPECT_EQ(sim_->Requests()[0].line, "accountLine");
    EXPECT_FALSE(transport_.SetProxy(HttpTransport::kProxyNamed, QString()));
}

TEST_F(HttpTransportTest, CertificateErrorsAreRefusedUnlessIgnored) {
    const QString url = QStringLiteral("https://") +
                        QString::fromStdString(sim_->Address(Line::Segment)) +
                        QStringLiteral("/cc/json/mobile_tel_segment.htm?tel=13800138000");
    transport_.SetOption(HttpTransport::kOptionSslErrorIgnoreFlags, 0);
    EXPECT_FALSE(Get(url));
    EXPECT_EQ(transport_.Status(), 0);
    EXPECT_FALSE(transport_.LastError().isEmpty());

    transport_.SetOption(HttpTransport::kOptionSslErrorIgnoreFlags, 0x3300);
    ASSERT_TRUE(Get(url)) << transport_.LastError().toStdString();
    EXPECT_EQ(transport_.Status(), 200);
    EXPECT_THAT(FromGbk(transport_.ResponseBody()).toStdString(), HasSubstr("province"));
}

TEST_F(HttpTransportTest, Options) {
    EXPECT_EQ(transport_.Option(HttpTransport::kOptionEnableRedirects).toBool(), true);
    EXPECT_EQ(transport_.Option(HttpTransport::kOptionMaxAutomaticRedirects).toInt(), 10);
    EXPECT_EQ(transport_.Option(HttpTransport::kOptionSslErrorIgnoreFlags).toInt(), 0);
    EXPECT_FALSE(transport_.SetOption(HttpTransport::kOptionUrl, QStringLiteral("x")));
    EXPECT_FALSE(transport_.Option(42).isValid());
    EXPECT_FALSE(transport_.LastError().isEmpty());

    transport_.Open(QStringLiteral("GET"), QStringLiteral("http://h/a b"));
    EXPECT_EQ(transport_.Option(HttpTransport::kOptionUrl).toString(),
              QStringLiteral("http://h/a%20b"));

    // Without a "User-Agent" header the component's own agent goes out.
    transport_.SetOption(HttpTransport::kOptionUserAgent, QStringLiteral("agent/1"));
    ASSERT_TRUE(Get(Url("/ua")));
    ASSERT_EQ(sim_->Requests().size(), 1u);
    EXPECT_THAT(sim_->Requests()[0].headers, HasSubstr("User-Agent: agent/1\r\n"));
}

TEST_F(HttpTransportTest, AbortFromTheOwnerEndsAnAsynchronousRequest) {
    sim_->Script("/slow", Reply(200, "late", {}, 30000));
    transport_.Open(QStringLiteral("GET"), Url("/slow"), true);
    ASSERT_TRUE(transport_.Send());
    EXPECT_FALSE(transport_.WaitForResponse(200));
    QElapsedTimer clock;
    clock.start();
    transport_.Abort();
    EXPECT_LT(clock.elapsed(), 15000);  // not waiting for the 30 s reply
    EXPECT_EQ(transport_.Status(), 0);
    EXPECT_THAT(transport_.LastError().toStdString(), HasSubstr("abort"));
    // A new request works on the same handle.
    sim_->Script("/slow", Reply(200, "now"));
    ASSERT_TRUE(Get(Url("/slow")));
    EXPECT_EQ(transport_.ResponseBody(), QByteArray("now"));
}

}  // namespace
}  // namespace lanxun
