// The local platform's numbers over real HTTP: yh_qh, yh_qm, yh_sf, yh_lh and fdx_tj as the
// client sends them, and the plans tests set on the model.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <latch>
#include <set>
#include <thread>

#include "platform_sim.h"
#include "project_catalogue.h"
#include "raw_client.h"
#include "sim_numbers.h"
#include "sim_text.h"

using namespace std::chrono_literals;
using platformsim::Disposal;
using platformsim::Gbk;
using platformsim::Line;
using platformsim::PlatformSim;
using platformsim::SendPlan;
using platformsim::SmsPlan;
using simtest::Exchange;
using simtest::GetRequest;

namespace {

const std::string kDemo = "username=demo2026&password=lanxun666";
const std::string kOther = "username=other01&password=secret01";

// "%E6%B1%9F..." for every byte of the UTF-8 text, as the client's HTTP layer sends it.
std::string Escaped(const std::string& utf8) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : utf8) {
        out += '%';
        out += hex[c >> 4];
        out += hex[c & 15];
    }
    return out;
}

bool StartsWithAny(const std::string& phone, const std::vector<std::string>& prefixes) {
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](const std::string& p) { return phone.rfind(p, 0) == 0; });
}

class NumbersModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Start()) << sim.StartError();
        platformsim::Account other = PlatformSim::DemoAccount();
        other.userName = "other01";
        other.password = "secret01";
        sim.AddAccount(other);
    }

    std::string Get(Line line, const std::string& target) {
        return Exchange(sim.Port(line), GetRequest(target)).body;
    }
    // yh_qh with the batch keys (options already in the client's wire form).
    std::string Take(const std::string& project, const std::string& loop = "1",
                     const std::string& options = "&operator=&region=&card=",
                     const std::string& login = kDemo) {
        return Get(Line::Number, "/yh_qh/" + login + "&id=" + project + options + "&loop=" + loop);
    }
    std::string TakeSpecified(const std::string& project, const std::string& phone,
                              const std::string& login = kDemo) {
        return Get(Line::Number, "/yh_qh/" + login + "&id=" + project + "&phone=" + phone);
    }
    // The number of a "1|" reply; fails the test otherwise.
    std::string NumberOf(const std::string& reply) {
        EXPECT_EQ(reply.substr(0, 2), "1|") << platformsim::GbkToUtf8(reply);
        return reply.size() > 2 ? reply.substr(2) : std::string();
    }
    std::string Poll(const std::string& project, const std::string& phone,
                     const std::string& login = kDemo) {
        return Get(Line::Poll, "/yh_qm/" + login + "&id=" + project + "&phone=" + phone);
    }
    std::string Dispose(const char* word, const std::string& project, const std::string& phone,
                        const std::string& login = kDemo) {
        return Get(Line::Disposal,
                   "/" + std::string(word) + "/" + login + "&id=" + project + "&phone=" + phone);
    }
    std::string Send(const std::string& project, const std::string& send, const std::string& phone,
                     const std::string& content) {
        return Get(Line::Send, "/fdx_tj/" + kDemo + "&id=" + project + "&send=" + send +
                                   "&phone=" + phone + "&content=" + content);
    }
    platformsim::NumberModel& Numbers() { return sim.Numbers(); }

    PlatformSim sim;
};

TEST_F(NumbersModelTest, HandsOutDistinctNumbersPerProjectAndUser) {
    std::set<std::string> seen;
    for (int i = 0; i < 12; ++i) {
        for (const std::string& login : {kDemo, kOther}) {
            const std::string phone =
                NumberOf(Take(i % 2 ? "1001" : "2001", "1", "&operator=&region=&card=", login));
            ASSERT_EQ(phone.size(), 11u);
            EXPECT_TRUE(seen.insert(phone).second) << phone;
        }
    }
    EXPECT_EQ(Numbers().Held().size(), 24u);

    // A queued number that someone holds is passed over, whoever holds it.
    const std::string mine = NumberOf(Take("1001"));
    Numbers().QueueNumbers("1001", {mine, "13812345678", "13812345678", "13912345678"});
    EXPECT_EQ(Take("1001", "1", "&operator=&region=&card=", kOther), "1|13812345678");
    EXPECT_EQ(Take("1001", "2"), "1|13912345678");
    const std::vector<platformsim::HeldNumber> held = Numbers().Held();
    ASSERT_EQ(held.size(), 27u);
    EXPECT_EQ(held[25].userName, "other01");
    EXPECT_EQ(held[25].projectId, "1001");
    EXPECT_EQ(held[25].phone, "13812345678");
    EXPECT_EQ(held[26].userName, "demo2026");
}

TEST_F(NumbersModelTest, HonoursOperatorCardAndEveryRegionTheClientOffers) {
    const std::vector<std::string> mobile = {"134", "135", "136", "137", "138", "139",
                                             "150", "151", "152", "157", "158", "159",
                                             "182", "183", "187", "188", "198"};
    const std::vector<std::string> unicom = {"130", "131", "132", "155",
                                             "156", "166", "185", "186"};
    const std::vector<std::string> telecom = {"133", "153", "177", "180", "181", "189", "199"};
    struct Case {
        std::string operatorValue, card;
        std::vector<std::string> prefixes;
    };
    const Case cases[] = {
        {"1", "2", mobile},  {"2", "2", unicom},  {"3", "", telecom},        {"1", "1", {"170"}},
        {"2", "1", {"171"}}, {"3", "1", {"170"}}, {"", "1", {"170", "171"}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 5; ++i) {
            const std::string phone = NumberOf(
                Take("1002", "1", "&operator=" + c.operatorValue + "&region=&card=" + c.card));
            EXPECT_TRUE(StartsWithAny(phone, c.prefixes))
                << phone << " operator " << c.operatorValue << " card " << c.card;
        }
    }

    // The region picker's names, as the client sends them; each number's segment is there.
    const char* regions[] = {"北京", "上海", "天津", "山东", "福建",   "安徽", "宁夏", "湖北",
                             "河北", "辽宁", "湖南", "四川", "山西",   "陕西", "江苏", "内蒙",
                             "吉林", "甘肃", "江西", "河南", "云南",   "广西", "重庆", "西藏",
                             "海南", "广东", "浙江", "贵州", "黑龙江", "新疆", "澳门", "香港"};
    for (const char* region : regions) {
        const std::string phone =
            NumberOf(Take("1002", "1", "&operator=2&region=" + Escaped(region) + "&card=2"));
        EXPECT_EQ(platformsim::GbkToUtf8(PlatformSim::SegmentProvince(phone)), region) << phone;
        EXPECT_TRUE(StartsWithAny(phone, unicom)) << phone;
    }
    // Raw GBK bytes in the target are read as the province too.
    EXPECT_EQ(PlatformSim::SegmentProvince(
                  NumberOf(Take("1002", "1", "&operator=&region=" + Gbk("浙江") + "&card="))),
              Gbk("浙江"));

    // What the client's segment lookup reads for such a number.
    const std::string phone =
        NumberOf(Take("1002", "1", "&operator=&region=" + Escaped("黑龙江") + "&card="));
    auto segment = simtest::ExchangeTls(sim.Port(Line::Segment),
                                        GetRequest("/cc/json/mobile_tel_segment.htm?tel=" + phone),
                                        sim.SegmentCertificatePem());
    EXPECT_NE(segment.body.find("province:'" + Gbk("黑龙江") + "',"), std::string::npos);
}

TEST_F(NumbersModelTest, RefusesInThePlatformsForms) {
    auto projects = platformsim::ProjectCatalogue::DemoProjects();
    projects.push_back({"999", "旧项目", "0.10"});
    sim.Projects().SetProjects(projects);
    const std::string wrong = "username=demo2026&password=lanxun667";
    struct Case {
        Line line;
        std::string target;
        std::string reply;  // UTF-8
    };
    const Case cases[] = {
        {Line::Number, "/yh_qh/" + wrong + "&id=1001&operator=&region=&card=&loop=1",
         "0|用户名或密码错误"},
        {Line::Number, "/yh_qh/username=nobody&password=lanxun666&id=1001&phone=13800000000",
         "0|用户名或密码错误"},
        {Line::Poll, "/yh_qm/" + wrong + "&id=1001&phone=13800000000", "0|用户名或密码错误"},
        {Line::Disposal, "/yh_sf/" + wrong + "&id=1001&phone=13800000000", "用户名或密码错误"},
        {Line::Disposal, "/yh_lh/" + wrong + "&id=1001&phone=13800000000", "用户名或密码错误"},
        {Line::Send, "/fdx_tj/" + wrong + "&id=2001&send=10086&phone=13800000000&content=a",
         "用户名或密码错误"},
        {Line::Number, "/yh_qh/" + kDemo + "&id=999&operator=&region=&card=&loop=1",
         "0|项目不存在"},
        {Line::Number, "/yh_qh/" + kDemo + "&id=1999&operator=&region=&card=&loop=1",
         "0|项目不存在"},
        {Line::Number, "/yh_qh/" + kDemo + "&id=&operator=&region=&card=&loop=1", "0|项目不存在"},
        {Line::Number, "/yh_qh/" + kDemo + "&id=abc&phone=13800000000", "0|项目不存在"},
        {Line::Number, "/yh_qh/" + kDemo + "&id=1001&operator=4&region=&card=&loop=1",
         "0|运营商参数错误"},
        {Line::Number, "/yh_qh/" + kDemo + "&id=1001&operator=&region=&card=3&loop=1",
         "0|卡型参数错误"},
        {Line::Number, "/yh_qh/" + kDemo + "&id=1001&operator=&region=&card=&loop=x",
         "0|过滤参数错误"},
        {Line::Number,
         "/yh_qh/" + kDemo + "&id=1001&operator=&region=" + Escaped("火星") + "&card=&loop=1",
         "0|暂无该地区号码"},
        {Line::Number, "/yh_qh/" + kDemo + "&id=1001&phone=1380013800", "0|指定号码格式错误"},
        {Line::Number, "/yh_qh/" + kDemo + "&id=1001&phone=138%200013%208000",
         "0|指定号码格式错误"},
        {Line::Poll, "/yh_qm/" + kDemo + "&id=1001&phone=13800000000",
         "0|13800000000|该号码未被您占用或已释放"},
        {Line::Disposal, "/yh_sf/" + kDemo + "&id=1001&phone=13800000000",
         "释放失败，该号码未被您占用"},
        {Line::Disposal, "/yh_lh/" + kDemo + "&id=1001&phone=", "加黑失败，该号码未被您占用"},
        {Line::Send, "/fdx_tj/" + kDemo + "&id=2001&send=10086&phone=13800000000&content=a",
         "发送失败，该号码未被您占用或已释放"},
        // Not the client protocol at all (no user name): the empty reply.
        {Line::Number, "/yh_qh/x", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        EXPECT_EQ(Get(c.line, c.target), Gbk(c.reply));
    }
    EXPECT_TRUE(Numbers().Held().empty());
    EXPECT_TRUE(Numbers().Disposals().empty());

    // Scripted refusals come first, then numbers again.
    Numbers().RefuseNextNumbers(2, "余额不足，请充值");
    EXPECT_EQ(Take("1001"), Gbk("0|余额不足，请充值"));
    EXPECT_EQ(TakeSpecified("1001", "13800000000"), Gbk("0|余额不足，请充值"));
    NumberOf(Take("1001"));
    // A script still wins over the model.
    sim.Script("yh_qh", {200, "1|19999999999"});
    EXPECT_EQ(Take("1001"), "1|19999999999");
    EXPECT_EQ(Numbers().Held().size(), 1u);
}

TEST_F(NumbersModelTest, LoopTwoAloneGivesAgainANumberThatReceivedACode) {
    Numbers().SetDefaultSmsPlan({});  // every SMS at the first query
    const std::string used = NumberOf(Take("1001"));
    EXPECT_EQ(Poll("1001", used).substr(0, 2), "1|");
    EXPECT_EQ(Dispose("yh_sf", "1001", used), Gbk("释放成功"));

    // Loop "1" and "" pass the used number over, even when it is queued.
    Numbers().QueueNumbers("1001", {used, "15811112222"});
    EXPECT_EQ(Take("1001", "1"), "1|15811112222");
    Numbers().QueueNumbers("1001", {used, "15811113333"});
    EXPECT_EQ(Take("1001", ""), "1|15811113333");
    for (int i = 0; i < 5; ++i) {
        EXPECT_NE(NumberOf(Take("1001", "1")), used);
    }
    // Another project never had it used: it is handed out there.
    Numbers().QueueNumbers("1003", {used});
    EXPECT_EQ(Take("1003", "1"), "1|" + used);
    EXPECT_EQ(Dispose("yh_sf", "1003", used), Gbk("释放成功"));

    // Loop "2" gives it again, unqueued.
    EXPECT_EQ(Take("1001", "2"), "1|" + used);
}

TEST_F(NumbersModelTest, BlacklistedNumberIsNeverHandedOutAgainToThatUser) {
    Numbers().SetDefaultSmsPlan({});
    const std::string phone = NumberOf(Take("1001"));
    EXPECT_EQ(Poll("1001", phone).substr(0, 2), "1|");  // used: loop "2" would offer it
    EXPECT_EQ(Dispose("yh_lh", "1001", phone), Gbk("加黑成功"));
    EXPECT_EQ(Dispose("yh_lh", "1001", phone), Gbk("加黑失败，该号码未被您占用"));

    Numbers().QueueNumbers("1001", {phone, "13511112222"});
    EXPECT_EQ(Take("1001", "2"), "1|13511112222");
    for (int i = 0; i < 5; ++i) {
        EXPECT_NE(NumberOf(Take("1001", "2")), phone);
    }
    EXPECT_EQ(TakeSpecified("1001", phone), Gbk("0|指定号码已被拉黑"));
    Numbers().QueueNumbers("1002", {phone});
    EXPECT_NE(Take("1002", "2"), "1|" + phone);  // on any project

    // Another user may still get it.
    Numbers().QueueNumbers("1001", {phone});
    EXPECT_EQ(Take("1001", "2", "&operator=&region=&card=", kOther), "1|" + phone);

    const auto disposals = Numbers().Disposals();
    ASSERT_EQ(disposals.size(), 1u);
    EXPECT_EQ(disposals[0].userName, "demo2026");
    EXPECT_EQ(disposals[0].projectId, "1001");
    EXPECT_EQ(disposals[0].phone, phone);
    EXPECT_EQ(disposals[0].how, Disposal::Blacklist);
}

TEST_F(NumbersModelTest, ReleasedNumberGoesBackToThePoolAndIsRecorded) {
    const std::string first = NumberOf(Take("1001"));
    const std::string second = NumberOf(Take("1002"));
    EXPECT_EQ(Dispose("yh_sf", "1002", first), Gbk("释放失败，该号码未被您占用"));  // wrong project
    EXPECT_EQ(Dispose("yh_sf", "1001", first, kOther), Gbk("释放失败，该号码未被您占用"));
    EXPECT_EQ(Dispose("yh_sf", "1001", first), Gbk("释放成功"));
    EXPECT_EQ(Dispose("yh_sf", "1001", first), Gbk("释放失败，该号码未被您占用"));
    EXPECT_EQ(Dispose("yh_lh", "1002", second), Gbk("加黑成功"));

    const auto disposals = Numbers().Disposals();
    ASSERT_EQ(disposals.size(), 2u);
    EXPECT_EQ(disposals[0].phone, first);
    EXPECT_EQ(disposals[0].how, Disposal::Release);
    EXPECT_EQ(disposals[1].phone, second);
    EXPECT_EQ(disposals[1].projectId, "1002");
    EXPECT_EQ(disposals[1].how, Disposal::Blacklist);
    EXPECT_TRUE(Numbers().Held().empty());
    EXPECT_EQ(Poll("1001", first), "0|" + first + "|" + Gbk("该号码未被您占用或已释放"));

    // Released, it is free for anyone again, by name or from the queue.
    EXPECT_EQ(TakeSpecified("1001", first, kOther), "1|" + first);
    EXPECT_EQ(Dispose("yh_sf", "1001", first, kOther), Gbk("释放成功"));
    Numbers().QueueNumbers("1001", {first});
    EXPECT_EQ(Take("1001"), "1|" + first);
}

TEST_F(NumbersModelTest, SpecifiedNumberIsGivenWhenFreeAndAgainToItsHolder) {
    EXPECT_EQ(TakeSpecified("1001", "13700001111"), "1|13700001111");
    EXPECT_EQ(TakeSpecified("1001", "13700001111", kOther), Gbk("0|指定号码已被占用"));
    EXPECT_EQ(TakeSpecified("1002", "13700001111"), Gbk("0|指定号码已被占用"));
    // The send side's specified request carries the batch keys too.
    EXPECT_EQ(Get(Line::Number,
                  "/yh_qh/" + kDemo + "&id=2001&operator=1&region=&card=&loop=&phone=13700002222"),
              "1|13700002222");

    // Asked for again by its holder ("use again"): a new SMS with a new code.
    Numbers().SetDefaultSmsPlan({});
    EXPECT_EQ(TakeSpecified("1001", "13700003333"), "1|13700003333");
    const std::string firstSms = Poll("1001", "13700003333");
    EXPECT_EQ(TakeSpecified("1001", "13700003333"), "1|13700003333");
    const std::string secondSms = Poll("1001", "13700003333");
    EXPECT_EQ(firstSms.substr(0, 14), "1|13700003333|");
    EXPECT_EQ(secondSms.substr(0, 14), "1|13700003333|");
    EXPECT_NE(firstSms, secondSms);
    EXPECT_EQ(Numbers().Held().size(), 3u);
}

TEST_F(NumbersModelTest, PollAnswersNoSmsUntilDueThenTheSms) {
    const std::string phone = NumberOf(Take("1001"));
    const std::string sms = "【某站】您的验证码是482913，5分钟内有效。";
    Numbers().PlanSms(phone, {sms, 2});
    const std::string waiting = "0|" + phone + "|" + Gbk("没有收到短信");
    EXPECT_EQ(Poll("1001", phone), waiting);
    EXPECT_EQ(Poll("1001", phone), waiting);
    EXPECT_EQ(Poll("1001", phone), "1|" + phone + "|" + Gbk(sms));
    EXPECT_EQ(Poll("1001", phone), "1|" + phone + "|" + Gbk(sms));  // it stays
    // Asked for under another project or by another user: refused.
    EXPECT_EQ(Poll("1002", phone), "0|" + phone + "|" + Gbk("该号码未被您占用或已释放"));
    EXPECT_EQ(Poll("1001", phone, kOther), "0|" + phone + "|" + Gbk("该号码未被您占用或已释放"));

    // A plan set before the number is handed out holds from its acquisition; a real delay
    // not yet over keeps it waiting whatever the count.
    Numbers().PlanSms("15900001111", {"", 0, 1h});
    Numbers().QueueNumbers("1001", {"15900001111"});
    EXPECT_EQ(Take("1001"), "1|15900001111");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Poll("1001", "15900001111"), "0|15900001111|" + Gbk("没有收到短信"));
    }

    // Bytes that are not UTF-8 go out as they are (a platform sending broken GBK).
    const std::string broken = "\xB0\xA1\xFF\xFF 123";
    Numbers().PlanSms("15900002222", {broken});
    EXPECT_EQ(TakeSpecified("1001", "15900002222"), "1|15900002222");
    EXPECT_EQ(Poll("1001", "15900002222"), "1|15900002222|" + broken);

    // The default SMS names the project and carries a six-digit code.
    Numbers().SetDefaultSmsPlan({});
    const std::string other = NumberOf(Take("1001"));
    const std::string reply = platformsim::GbkToUtf8(Poll("1001", other));
    const std::string head = "1|" + other + "|【微信注册】您的验证码是";
    ASSERT_EQ(reply.substr(0, head.size()), head);
    const std::string code = reply.substr(head.size(), 6);
    EXPECT_TRUE(std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }));
    EXPECT_EQ(reply.substr(head.size() + 6), "，5分钟内有效。");
}

TEST_F(NumbersModelTest, SubmittedSmsIsRecordedAndItsResultReported) {
    const std::string phone = NumberOf(Take("2001", ""));
    EXPECT_EQ(Send("2001", "10086", phone, "abc"), Gbk("发送内容提交成功等待卡商发送短信"));
    // The default: two queries without result, then "成功".
    const std::string waiting = "0|" + phone + "|" + Gbk("没有收到短信");
    EXPECT_EQ(Poll("2001", phone), waiting);
    EXPECT_EQ(Poll("2001", phone), waiting);
    EXPECT_EQ(Poll("2001", phone), "1|" + phone + "|" + Gbk("成功"));

    const std::string failing = NumberOf(Take("2003", ""));
    Numbers().PlanSendResult(failing, SendPlan{false, 1, ""});
    // Values arrive unencoded: "&" and "=" cut the content, a "#" arrives escaped.
    const std::string target = "/fdx_tj/" + kDemo + "&id=2003&send=95588&phone=" + failing +
                               "&content=" + Escaped("你好") + "%20a&b=c%23d";
    EXPECT_EQ(Get(Line::Send, target), Gbk("发送内容提交成功等待卡商发送短信"));
    EXPECT_EQ(Poll("2003", failing), "0|" + failing + "|" + Gbk("没有收到短信"));
    EXPECT_EQ(Poll("2003", failing), "1|" + failing + "|" + Gbk("失败"));

    // Refused: empty sending number or content, another project; nothing recorded.
    EXPECT_EQ(Send("2001", "", phone, "abc"), Gbk("发送失败，发送号码不能为空"));
    EXPECT_EQ(Send("2001", "10086", phone, ""), Gbk("发送失败，发送内容不能为空"));
    EXPECT_EQ(Send("2003", "10086", phone, "abc"), Gbk("发送失败，该号码未被您占用或已释放"));

    const auto submissions = Numbers().Submissions();
    ASSERT_EQ(submissions.size(), 2u);
    EXPECT_EQ(submissions[0].phone, phone);
    EXPECT_EQ(submissions[0].send, "10086");
    EXPECT_EQ(submissions[0].content, "abc");
    EXPECT_EQ(submissions[1].projectId, "2003");
    EXPECT_EQ(submissions[1].send, "95588");
    EXPECT_EQ(submissions[1].content, Escaped("你好") + "%20a");
    EXPECT_EQ(submissions[1].target, target);
    EXPECT_EQ(submissions[1].userName, "demo2026");

    // A plan's own text is reported as it is.
    Numbers().PlanSendResult(phone, SendPlan{true, 0, "短信已发送成功"});
    EXPECT_EQ(Send("2001", "10085", phone, "again"), Gbk("发送内容提交成功等待卡商发送短信"));
    EXPECT_EQ(Poll("2001", phone), "1|" + phone + "|" + Gbk("短信已发送成功"));
}

TEST_F(NumbersModelTest, ConcurrentClientsNeverShareANumber) {
    // Four clients at once, each taking from the same queue and drawing fresh numbers.
    std::vector<std::string> queued;
    for (int i = 0; i < 40; ++i) {
        queued.push_back("1880000" + std::to_string(1000 + i));
    }
    Numbers().QueueNumbers("1001", queued);
    constexpr int kThreads = 4;
    constexpr int kEach = 20;
    std::vector<std::vector<std::string>> got(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            const std::string& login = t % 2 ? kOther : kDemo;
            for (int i = 0; i < kEach; ++i) {
                got[t].push_back(Exchange(sim.Port(Line::Number),
                                          GetRequest("/yh_qh/" + login +
                                                     "&id=1001&operator=&region=&card=&loop=2"))
                                     .body);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    std::set<std::string> distinct;
    int fromQueue = 0;
    for (const auto& replies : got) {
        for (const std::string& reply : replies) {
            ASSERT_EQ(reply.substr(0, 2), "1|") << reply;
            EXPECT_TRUE(distinct.insert(reply).second) << reply;
            fromQueue += reply.rfind("1|1880000", 0) == 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(fromQueue, 40);
    EXPECT_EQ(Numbers().Held().size(), size_t{kThreads * kEach});
}

TEST_F(NumbersModelTest, ModelCallsFromSeveralThreadsKeepItsBooksStraight) {
    // The model called directly, so that the threads meet inside it far more often than
    // connections on loopback let them.
    constexpr int kThreads = 4;
    constexpr int kEach = 3000;
    std::vector<std::string> queued;
    for (int i = 0; i < kThreads * kEach / 2; ++i) {
        queued.push_back("1860000" + std::to_string(1000 + i));
    }
    Numbers().QueueNumbers("1001", queued);
    const std::vector<platformsim::Account> accounts = sim.Accounts();
    std::vector<std::vector<std::string>> got(kThreads);
    std::latch start(kThreads);  // all threads begin together
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            start.arrive_and_wait();
            const std::string target = "/yh_qh/" + std::string(t % 2 ? kOther : kDemo) +
                                       "&id=1001&operator=&region=&card=&loop=1";
            for (int i = 0; i < kEach; ++i) {
                const std::string reply =
                    Numbers().Reply(accounts, sim.Projects(), "yh_qh", target);
                got[t].push_back(reply);
                // Give every third number back at once, and poll the others.
                const std::string phone = reply.substr(2);
                const std::string keys =
                    std::string(t % 2 ? kOther : kDemo) + "&id=1001&phone=" + phone;
                if (i % 3 == 0) {
                    Numbers().Reply(accounts, sim.Projects(), "yh_sf", "/yh_sf/" + keys);
                } else {
                    Numbers().Reply(accounts, sim.Projects(), "yh_qm", "/yh_qm/" + keys);
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    std::set<std::string> fromQueue;
    size_t replies = 0;
    for (const auto& list : got) {
        for (const std::string& reply : list) {
            ASSERT_EQ(reply.substr(0, 2), "1|") << reply;
            ++replies;
            if (reply.rfind("1|1860000", 0) == 0) {
                EXPECT_TRUE(fromQueue.insert(reply).second) << reply;  // each queued one once
            }
        }
    }
    EXPECT_EQ(replies, size_t{kThreads * kEach});
    EXPECT_EQ(fromQueue.size(), queued.size());
    EXPECT_EQ(Numbers().Disposals().size(), size_t{kThreads * (kEach / 3)});
    EXPECT_EQ(Numbers().Held().size(), size_t{kThreads * kEach - kThreads * (kEach / 3)});
}

}  // namespace

TEST_F(NumbersModelTest, ReplyDelayHoldsTheModelsAnswers) {
    Numbers().SetReplyDelay(1h);
    const int port = sim.Port(Line::Number);
    auto pending = std::async(std::launch::async, [port] {
        return Exchange(port, GetRequest("/yh_qh/" + kDemo + "&id=1001&phone=13600001111"));
    });
    ASSERT_TRUE(sim.WaitForRequests(1, 10s));
    EXPECT_EQ(pending.wait_for(200ms), std::future_status::timeout);
    sim.Stop();  // ends the wait without an answer
    EXPECT_EQ(pending.get().bytes, "");
}
