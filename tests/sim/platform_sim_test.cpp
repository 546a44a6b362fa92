#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "platform_sim.h"
#include "raw_client.h"
#include "sim_text.h"

using namespace std::chrono_literals;
using platformsim::Line;
using platformsim::PlatformSim;
using platformsim::ScriptedReply;
using simtest::Exchange;
using simtest::GetRequest;

namespace {

std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> fields;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('|', pos);
        if (end == std::string::npos) {
            end = text.size();
        }
        fields.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return fields;
}

class SimTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.Start()) << sim.StartError(); }

    PlatformSim sim;
};

TEST_F(SimTest, RecordsTargetAndHeadersExactlyAsReceived) {
    // Escapes stay escaped, "#" and what follows it stay in the target.
    const std::string target =
        "/xiangmu_shouchan/username=%E7%8E%8B&password=a%23b&id=1000#c-%E5%BE%AE%E4%BF%A1#c-0.5";
    std::string request = "GET " + target +
                          " HTTP/1.1\r\nHost: 127.0.0.1\r\nZeta: 1\r\nCookie: a=1; b=2\r\n"
                          "Alpha:  2\r\nConnection: close\r\n\r\n";
    simtest::RawResponse response = Exchange(sim.Port(Line::Project), request);
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, "");  // unscripted: the empty reply

    auto requests = sim.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].line, "projectLine");
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, target);
    EXPECT_EQ(
        requests[0].headers,
        "Host: 127.0.0.1\r\nZeta: 1\r\nCookie: a=1; b=2\r\nAlpha:  2\r\nConnection: close\r\n");

    Exchange(sim.Port(Line::Recharge),
             std::string("POST /sc/x HTTP/1.1\r\nContent-Length: 5\r\nConnection: close\r\n\r\n") +
                 std::string("a\0b\0c", 5));
    requests = sim.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].line, "rechargeLine");
    EXPECT_EQ(requests[1].body, std::string("a\0b\0c", 5));
}

TEST_F(SimTest, SignAnswersKnownAccountsAndRefusesOthers) {
    platformsim::Account chinese = PlatformSim::DemoAccount();
    chinese.userName = platformsim::Gbk("测试用户");
    chinese.password = platformsim::Gbk("密码123");
    chinese.kind = platformsim::Gbk("用户");
    sim.AddAccount(chinese);

    const platformsim::Account demo = PlatformSim::DemoAccount();
    const auto merchant = PlatformSim::MerchantAccount();
    struct Case {
        std::string query;  // after "/sign/"
        bool accepted;
        std::string kind;  // field 10, GBK
    };
    const Case cases[] = {
        {"username=demo2026&password=lanxun666", true, demo.kind},
        {"username=DEMO2026&password=lanxun666", true, demo.kind},
        {"username=" + merchant.userName + "&password=" + merchant.password, true, merchant.kind},
        {"username=demo2026&password=lanxun667", false, ""},
        {"username=demo2026&password=LANXUN666", false, ""},
        {"username=nobody1&password=lanxun666", false, ""},
        {"username=&password=", false, ""},
        {"username=demo2026", false, ""},
        // The client escapes non-ASCII as UTF-8.
        {"username=%E6%B5%8B%E8%AF%95%E7%94%A8%E6%88%B7&password=%E5%AF%86%E7%A0%81123", true,
         chinese.kind},
        {"username=%E6%B5%8B%E8%AF%95%E7%94%A8%E6%88%B7&password=%E5%AF%86%E7%A0%81124", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        auto response = Exchange(sim.Port(Line::Account), GetRequest("/sign/" + c.query));
        ASSERT_EQ(response.status, 200);
        auto fields = Fields(response.body);
        if (c.accepted) {
            ASSERT_EQ(fields.size(), 11u);
            EXPECT_EQ(fields[10], c.kind);
        } else {
            EXPECT_LT(fields.size(), 11u);
            EXPECT_EQ(fields.at(0), "0");
            EXPECT_GE(response.body.size(), 4u);  // a message, not just the status
        }
    }

    auto response =
        Exchange(sim.Port(Line::Account), GetRequest("/sign/username=demo2026&password=lanxun666"));
    auto fields = Fields(response.body);
    ASSERT_EQ(fields.size(), 11u);
    EXPECT_EQ(fields[0], "88.50");
    EXPECT_EQ(fields[1], "12.00");
    EXPECT_EQ(fields[4], demo.securityQuestion);
    EXPECT_EQ(fields[8], demo.announcement);
    EXPECT_EQ(fields[9], "800012345");
    EXPECT_EQ(platformsim::GbkToUtf8(fields[10]), "用户");
    EXPECT_EQ(platformsim::GbkToUtf8(merchant.kind), "商户");
}

TEST_F(SimTest, ScriptsReplyInTurnAndWholePathWins) {
    ScriptedReply first{
        200, std::string("1|\0tail", 7), {{"Set-Cookie", "a=1; path=/"}, {"Set-Cookie", "b=2"}}};
    ScriptedReply second{504, "busy"};
    ScriptedReply last{302, "", {{"Location", "/next"}}};
    sim.ScriptSequence("yh_qh", {first, second, last});
    sim.Script("/yh_qh/special", {200, "whole path"});

    const int port = sim.Port(Line::Number);
    auto r1 = Exchange(port, GetRequest("/yh_qh/username=u&password=p&id=1"));
    EXPECT_EQ(r1.status, 200);
    EXPECT_EQ(r1.body, std::string("1|\0tail", 7));
    EXPECT_NE(r1.headers.find("Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n"), std::string::npos);
    EXPECT_EQ(Exchange(port, GetRequest("/yh_qh/x")).status, 504);
    EXPECT_EQ(Exchange(port, GetRequest("/yh_qh/special")).body, "whole path");
    for (int i = 0; i < 2; ++i) {
        auto r = Exchange(port, GetRequest("/yh_qh/y"));
        EXPECT_EQ(r.status, 302);
        EXPECT_NE(r.headers.find("Location: /next\r\n"), std::string::npos);
    }

    sim.ClearScripts();
    auto cleared = Exchange(port, GetRequest("/yh_qh/z"));
    EXPECT_EQ(cleared.status, 200);
    EXPECT_EQ(cleared.body, "");
    EXPECT_EQ(sim.Requests().size(), 6u);
}

TEST_F(SimTest, KeepAliveServesSeveralRequestsOnOneConnection) {
    sim.Script("yh_qm", {200, "abc"});
    std::string one = "GET /yh_qm/1 HTTP/1.1\r\nHost: x\r\n\r\n";
    std::string two = "GET /yh_qm/2 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
    auto response = Exchange(sim.Port(Line::Poll), one + two);
    EXPECT_EQ(response.body.find("abc"), 0u);
    EXPECT_NE(response.body.find("HTTP/1.1 200 OK"), std::string::npos);
    ASSERT_EQ(sim.Requests().size(), 2u);
    EXPECT_EQ(sim.Requests()[1].target, "/yh_qm/2");
}

TEST_F(SimTest, DroppedAndRawRepliesReachTheWireUnchanged) {
    ScriptedReply drop;
    drop.closeWithoutReply = true;
    ScriptedReply truncated;
    truncated.raw = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nSet-Cookie: a=1";
    ScriptedReply zeros{200, std::string("1|\0\0|x\0", 7)};
    struct Case {
        const char* name;
        ScriptedReply reply;
        std::string expectedBytes;  // everything the client receives
    };
    const Case cases[] = {
        {"drop", drop, ""},
        {"raw", truncated, truncated.raw},
        {"zeros", zeros,
         "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=gbk\r\nContent-Length: 7\r\n"
         "Connection: close\r\n\r\n" +
             zeros.body},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.Script("yh_sf", c.reply);
        auto response = Exchange(sim.Port(Line::Disposal), GetRequest("/yh_sf/username=u"));
        EXPECT_EQ(response.bytes, c.expectedBytes);
    }
    EXPECT_EQ(sim.Requests().size(), 3u);
}

TEST_F(SimTest, StopEndsAPendingDelay) {
    ScriptedReply slow{200, "late"};
    slow.delayMs = 120000;
    sim.Script("fdx_tj", slow);
    const int port = sim.Port(Line::Send);
    auto pending =
        std::async(std::launch::async, [port] { return Exchange(port, GetRequest("/fdx_tj/x")); });
    ASSERT_TRUE(sim.WaitForRequests(1, 10s));
    // The request is held: no answer within a short look.
    EXPECT_EQ(pending.wait_for(200ms), std::future_status::timeout);

    auto started = std::chrono::steady_clock::now();
    sim.Stop();
    ASSERT_EQ(pending.wait_for(10s), std::future_status::ready);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    EXPECT_EQ(pending.get().bytes, "");
    EXPECT_EQ(sim.Port(Line::Send), 0);
}

TEST_F(SimTest, UpdateHostServesVersionAndArchive) {
    auto version = Exchange(sim.Port(Line::Update), GetRequest("/yh.txt"));
    EXPECT_EQ(version.body, platformsim::Gbk("版本号:6.6"));
    auto archive = Exchange(sim.Port(Line::Update), GetRequest("/ky.zip"));
    EXPECT_EQ(archive.body.substr(0, 4), "PK\x03\x04");
    EXPECT_NE(archive.body.find("lanxun"), std::string::npos);
    EXPECT_EQ(sim.Requests().back().line, "update");

    sim.Script("/yh.txt", {200, platformsim::Gbk("版本号:6.7\r\n")});
    EXPECT_EQ(Exchange(sim.Port(Line::Update), GetRequest("/yh.txt")).body,
              platformsim::Gbk("版本号:6.7\r\n"));
}

TEST_F(SimTest, SegmentHostAnswersOverVerifiedTls) {
    const std::string ca = sim.SegmentCertificatePem();
    const int port = sim.Port(Line::Segment);
    std::vector<std::string> provinces;
    for (std::string number : {"13800138000", "13912345678"}) {
        std::string error;
        auto response = simtest::ExchangeTls(
            port, GetRequest("/cc/json/mobile_tel_segment.htm?tel=" + number), ca, &error);
        ASSERT_EQ(response.status, 200) << error;
        std::string province = PlatformSim::SegmentProvince(number);
        ASSERT_FALSE(province.empty());
        EXPECT_NE(response.body.find("province:'" + province + "',"), std::string::npos);
        provinces.push_back(province);
    }
    EXPECT_NE(provinces[0], provinces[1]);
    EXPECT_EQ(sim.Requests().back().line, "segment");
    EXPECT_EQ(sim.Requests().back().target, "/cc/json/mobile_tel_segment.htm?tel=13912345678");

    auto unknown =
        simtest::ExchangeTls(port, GetRequest("/cc/json/mobile_tel_segment.htm?tel=12345"), ca);
    EXPECT_EQ(unknown.body.find("province:"), std::string::npos);

    ScriptedReply drop;
    drop.closeWithoutReply = true;
    sim.Script("/cc/json/mobile_tel_segment.htm", drop);
    auto dropped = simtest::ExchangeTls(
        port, GetRequest("/cc/json/mobile_tel_segment.htm?tel=13800138000"), ca);
    EXPECT_EQ(dropped.status, 0);
    EXPECT_EQ(dropped.bytes, "");

    ScriptedReply raw;
    raw.raw = "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nprovince:";
    sim.Script("/cc/json/mobile_tel_segment.htm", raw);
    auto rawReply = simtest::ExchangeTls(
        port, GetRequest("/cc/json/mobile_tel_segment.htm?tel=13800138000"), ca);
    EXPECT_EQ(rawReply.bytes, raw.raw);
}

TEST_F(SimTest, ProxyAsksForCredentialsThenForwardsToLoopback) {
    sim.SetProxyCredentials("user", "secret");
    const std::string target =
        "http://" + sim.Address(Line::Account) + "/sign/username=demo2026&password=lanxun666";
    const int proxy = sim.Port(Line::Proxy);

    auto refused = Exchange(proxy, GetRequest(target));
    EXPECT_EQ(refused.status, 407);
    EXPECT_NE(refused.headers.find("Proxy-Authenticate: Basic realm=\"sim\"\r\n"),
              std::string::npos);
    auto wrong =
        Exchange(proxy, GetRequest(target, "Proxy-Authorization: Basic " +
                                               platformsim::Base64("user:wrong") + "\r\n"));
    EXPECT_EQ(wrong.status, 407);
    EXPECT_EQ(sim.Requests().size(), 2u);  // nothing was forwarded

    const std::string credentials =
        "Proxy-Authorization: Basic " + platformsim::Base64("user:secret") + "\r\n";
    auto passed = Exchange(proxy, GetRequest(target, credentials));
    EXPECT_EQ(passed.status, 200);
    EXPECT_EQ(Fields(passed.body).size(), 11u);

    auto requests = sim.Requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[2].line, "proxy");
    EXPECT_EQ(requests[2].target, target);
    EXPECT_NE(requests[2].headers.find(credentials), std::string::npos);
    EXPECT_EQ(requests[3].line, "accountLine");
    EXPECT_EQ(requests[3].target, "/sign/username=demo2026&password=lanxun666");
    // The credentials are for the proxy only.
    EXPECT_EQ(requests[3].headers.find("Proxy-Authorization"), std::string::npos);

    auto outside = Exchange(proxy, GetRequest("http://192.0.2.1/x", credentials));
    EXPECT_EQ(outside.status, 403);
}

TEST(SimPorts, SharedPortNamesTheLineByEndpointAndBusyPortFails) {
    PlatformSim first;
    ASSERT_TRUE(first.Start());
    const int busy = first.Port(Line::Account);

    // A port just freed by the kernel serves as the shared one.
    PlatformSim probe;
    ASSERT_TRUE(probe.Start());
    const int shared = probe.Port(Line::Poll);
    probe.Stop();

    PlatformSim sim;
    platformsim::Ports ports;
    ports.poll = shared;
    ports.withdraw = shared;
    ASSERT_TRUE(sim.Start(ports)) << sim.StartError();
    EXPECT_EQ(sim.Port(Line::Withdraw), shared);
    EXPECT_EQ(sim.Address(Line::Poll), "127.0.0.1:" + std::to_string(shared));
    Exchange(shared, GetRequest("/tj/username=u&password=p&j=10"));
    Exchange(shared, GetRequest("/yh_qm/username=u&password=p&id=1&phone=1"));
    auto requests = sim.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].line, "withdrawLine");
    EXPECT_EQ(requests[1].line, "pollLine");

    PlatformSim clash;
    platformsim::Ports taken;
    taken.account = busy;
    EXPECT_FALSE(clash.Start(taken));
    EXPECT_NE(clash.StartError().find(std::to_string(busy)), std::string::npos);
    EXPECT_EQ(clash.Port(Line::Project), 0);
}

}  // namespace
