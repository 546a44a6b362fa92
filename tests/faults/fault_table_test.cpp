// The client under faults: one row per fault, each with what must hold afterwards. A row
// sets the fault up, acts as the client does, and checks that nothing crashed, nothing
// hung past its time-out, nothing was lost or misplaced, and the reaction is the one the
// client gives to any failed request (the empty reply, a false result).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "api/endpoints.h"
#include "api/http_request.h"
#include "api/platform_call.h"
#include "api/server_lines.h"
#include "faults/fault_bench.h"
#include "support/sim_lines.h"
#include "support/sim_reply.h"

namespace lanxun {
namespace {

using test::FaultBench;
using test::Reply;

// One fault. `budgetMs` is how long the action may take at most before the row counts as
// hung: its own time-out plus room for a slow machine.
struct Fault {
    const char* name;
    std::function<void(FaultBench&)> setUp;
    std::function<void(FaultBench&)> action;
    std::function<void(FaultBench&)> check;
    int budgetMs = 60000;
};

void PrintTo(const Fault& fault, std::ostream* out) {
    *out << fault.name;
}

// Ends the program with the row's name when the action outlives its budget, so that a hang
// shows as this row rather than as a silent time-out of the whole program.
class HangWatch {
public:
    HangWatch(const char* name, int budgetMs)
        : thread_([this, name, budgetMs] {
              std::unique_lock<std::mutex> lock(mutex_);
              if (!done_.wait_for(lock, std::chrono::milliseconds(budgetMs),
                                  [this] { return finished_; })) {
                  std::fprintf(stderr, "fault row \"%s\" hung past %d ms\n", name, budgetMs);
                  std::abort();
              }
          }) {}
    ~HangWatch() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

const Credentials kUser{QStringLiteral("demo2026"), QStringLiteral("lanxun666")};

// A poll of one number: a 15 s platform call on the poll line.
EndpointCall Poll() {
    return PollUrl(kUser, QStringLiteral("1003"), QStringLiteral("13800001111"));
}

// The send of an SMS: the catalogue's shortest time-out (5 s).
EndpointCall SendSms() {
    return SendSmsUrl(kUser, QStringLiteral("1003"), QStringLiteral("13800001111"),
                      QStringLiteral("13900002222"), QStringLiteral("hello"));
}

std::vector<Fault> Faults() {
    return {
        {"line accepts and never answers",
         [](FaultBench& b) {
             // Held far past the call's time-out; stopping the sim ends the wait.
             b.sim().Script("fdx_tj", Reply(200, "1|never", {}, 120000));
         },
         [](FaultBench& b) { b.reply = FetchReply(SendSms()); },
         [](FaultBench& b) {
             EXPECT_EQ(b.reply, QString());
             EXPECT_EQ(b.sim().Requests().size(), 1u);
         },
         kSendSmsTimeoutMs + 30000},
        {"reset in the middle of a reply",
         [](FaultBench& b) {
             b.sim().Script(
                 "yh_qm", test::RawReply("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n1|13800"));
         },
         [](FaultBench& b) { b.reply = FetchReply(Poll()); },
         // Half a reply is no reply: a status field cut short must not pass for an answer.
         [](FaultBench& b) { EXPECT_EQ(b.reply, QString()); }},
        {"a 10 MiB reply",
         [](FaultBench& b) {
             std::string body = "0|13800001111|";
             body.append(10 * 1024 * 1024, 'x');
             body += "|end";
             b.expected = body;
             b.sim().Script("yh_qm", Reply(200, body));
         },
         [](FaultBench& b) { b.reply = FetchReply(Poll()); },
         [](FaultBench& b) { EXPECT_EQ(b.reply.toStdString(), b.expected); }},
        {"bytes that are not GBK",
         [](FaultBench& b) {
             // A lead byte before a byte no trail can be, a byte no GBK text holds, and a lead
             // byte cut off at the end. (A lead byte before "|" is a real GBK character.)
             b.sim().Script("yh_qm", Reply(200, std::string("1|\x81 x|\xff|ok|") + "\xd6"));
         },
         [](FaultBench& b) { b.reply = FetchReply(Poll()); },
         [](FaultBench& b) {
             // Every field stays in its place and the good ones come through intact.
             const QStringList fields = b.reply.split(QLatin1Char('|'));
             ASSERT_EQ(fields.size(), 5) << b.reply.toStdString();
             EXPECT_EQ(fields[0], QStringLiteral("1"));
             EXPECT_TRUE(fields[1].endsWith(QStringLiteral(" x"))) << fields[1].toStdString();
             EXPECT_FALSE(fields[2].isEmpty());
             EXPECT_EQ(fields[3], QStringLiteral("ok"));
             EXPECT_FALSE(fields[4].isEmpty());
         }},
        {"zero bytes",
         [](FaultBench& b) {
             b.sim().Script("yh_qm", Reply(200, std::string("1|138\0|hidden", 13)));
         },
         [](FaultBench& b) { b.reply = FetchReply(Poll()); },
         [](FaultBench& b) { EXPECT_EQ(b.reply, QStringLiteral("1|138")); }},
        {"a redirect loop",
         [](FaultBench& b) {
             b.sim().Script("yh_qm", Reply(302, "moved", {{"Location", "/yh_qm/again"}}));
         },
         [](FaultBench& b) { b.reply = FetchReply(Poll()); },
         [](FaultBench& b) {
             // The loop ends by itself, and a redirect's own body never passes for a reply.
             EXPECT_EQ(b.reply, QString());
             EXPECT_GE(b.sim().Requests().size(), 2u);
             EXPECT_LE(b.sim().Requests().size(), 21u);
         }},
    };
}

class FaultTable : public FaultBench, public ::testing::WithParamInterface<Fault> {};

TEST_P(FaultTable, Holds) {
    const Fault& fault = GetParam();
    fault.setUp(*this);
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    {
        HangWatch watch(fault.name, fault.budgetMs);
        fault.action(*this);
    }
    fault.check(*this);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTable, ::testing::ValuesIn(Faults()),
                         [](const ::testing::TestParamInfo<Fault>& info) {
                             std::string name;
                             for (const char c : std::string(info.param.name)) {
                                 if (std::isalnum(static_cast<unsigned char>(c))) {
                                     name += c;
                                 } else if (!name.empty() && name.back() != '_') {
                                     name += '_';
                                 }
                             }
                             return name;
                         });

}  // namespace
}  // namespace lanxun
