#include <QPlainTextEdit>
#include <QTreeWidget>

#include "age_limit_cases.h"
#include "api/pattern_matcher.h"
#include "api/protocol.h"
#include "numbers/forwarding_controller.h"
#include "numbers/poll_worker.h"
#include "numbers_page_fixture.h"
#include "support/sim_reply.h"

namespace lanxun {
namespace {

using test::Gbk;
using test::Reply;

const QString kPhone = QStringLiteral("13800000011");

class CodePollingTest : public test::NumbersPageTest {
protected:
    void TearDown() override {
        poller_.reset();
        NumbersPageTest::TearDown();
    }

    void StartPoller() {
        poller_ = std::make_unique<PollWorker>(Control<QTreeWidget>("超级列表框_取码_列表框"),
                                               Picker(), &window_->forwarding());
        poller_->Start();
    }
    // Waits until the poller has begun `more` further passes.
    void WaitForPasses(int more) {
        const int until = poller_->Passes() + more;
        ASSERT_TRUE(QTest::qWaitFor([&] { return poller_->Passes() >= until; }, 30000));
    }
    // A row obtained `ageSeconds` ago for project 1002 (the picker's 1003 is what is asked).
    NumberRow AddRow(const QString& phone, int ageSeconds = 0) {
        return List().Append(phone, DateTimeText(clock_.Now().addSecs(-ageSeconds)),
                             QStringLiteral("1002"));
    }
    NumberRow RowOf(const NumberRow& row) { return List().RowOf(row.identity); }
    // Scripts the poll replies of one number (by its whole request target).
    void ScriptPoll(const QString& phone, std::vector<platformsim::ScriptedReply> replies,
                    const QString& id = QStringLiteral("1003")) {
        sim_->ScriptSequence(PollTarget(phone, id).toStdString(), std::move(replies));
    }
    static QString PollTarget(const QString& phone, const QString& id = QStringLiteral("1003")) {
        return Target("yh_qm", QStringLiteral("&id=") + id + QStringLiteral("&phone=") + phone);
    }
    QString ForwardLog() { return Control<QPlainTextEdit>("编辑框5")->toPlainText(); }

    std::unique_ptr<PollWorker> poller_;
};

TEST_F(CodePollingTest, ArrivedSmsFillsTheRowIsForwardedAndIsNeverAskedAgain) {
    window_->forwarding().Start();
    const NumberRow row = AddRow(kPhone);
    ScriptPoll(kPhone, {Reply(200, Gbk("0||没有收到短信"), {}, 300),
                        Reply(200, Gbk("1|88|【抖音】验证码654321，5分钟内有效"))});
    StartPoller();
    // A query under way shows in the row while the platform holds its reply back.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return RowOf(row).status == QStringLiteral("读取中"); }, 30000));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return RowOf(row).status == QStringLiteral("短信已达到"); }, 30000));
    const NumberRow done = RowOf(row);
    EXPECT_EQ(done.code, QStringLiteral("654321"));
    EXPECT_EQ(done.smsText, QStringLiteral("【抖音】验证码654321，5分钟内有效"));
    WaitForPasses(3);
    EXPECT_TRUE(ForwardLog().contains(QStringLiteral("654321")));
    // The picker's project, never the row's own; two queries and no more.
    EXPECT_EQ(Targets(QStringLiteral("yh_qm")), QStringList(2, PollTarget(kPhone)));
}

// Each row of the age-limit table: a row past the limit is marked and never asked about (a
// time that does not read back counts as past, so that a number is not asked about for ever);
// one within it is asked.
TEST_F(CodePollingTest, AgeLimitMarksTheRowsPastItAndAsksForTheOthers) {
    clock_.Set(test::kAgeLimitNow);
    std::vector<NumberRow> rows;
    for (const test::AgeLimitCase& c : test::kAgeLimitCases) {
        rows.push_back(
            List().Append(QStringLiteral("138000004%1")
                              .arg(static_cast<int>(rows.size()), 2, 10, QLatin1Char('0')),
                          QString::fromUtf8(c.obtainedAt), QStringLiteral("1003")));
    }
    sim_->Script("yh_qm", Reply(200, Gbk("0||没有收到短信")));
    StartPoller();
    WaitForPasses(2);
    for (size_t i = 0; i < rows.size(); ++i) {
        const test::AgeLimitCase& c = test::kAgeLimitCases[i];
        SCOPED_TRACE(c.obtainedAt);
        EXPECT_EQ(RowOf(rows[i]).status, c.passed
                                             ? QStringLiteral("已停止获取原因：300秒内未取到短信")
                                             : QStringLiteral("没有收到短信"));
        EXPECT_EQ(Targets(QStringLiteral("yh_qm")).contains(PollTarget(rows[i].phone)), !c.passed);
    }
}

TEST_F(CodePollingTest, RowsWithoutTimeOrAnAnswerAreLeftAlone) {
    List().Append(QStringLiteral("13800000001"), QString(), QStringLiteral("1003"));
    const NumberRow answered = AddRow(QStringLiteral("13800000002"));
    List().Write(answered.identity, {{NumberList::kStatus, QStringLiteral("号码已释放")}});
    const NumberRow stopped = AddRow(QStringLiteral("13800000003"));
    List().Write(stopped.identity, {{NumberList::kStatus, QStringLiteral("已停止获取原因：手动")}});
    StartPoller();
    WaitForPasses(3);
    EXPECT_TRUE(Targets(QStringLiteral("yh_qm")).isEmpty());
    EXPECT_EQ(RowOf(answered).status, QStringLiteral("号码已释放"));
}

// Replies that are not an SMS, and SMS that are unusual.
TEST_F(CodePollingTest, RepliesOfEveryShape) {
    window_->forwarding().Start();
    const std::string huge = std::string(100000, 'x') + "42";
    struct Case {
        std::string reply;
        QString status;
        QString sms;
        QString code;
        bool forwarded;
    };
    const std::vector<Case> cases = {
        {"1|abc", QStringLiteral("1|abc"), {}, {}, false},  // two fields: not an SMS
        {Gbk("0|x|号码已下线"), QStringLiteral("号码已下线"), {}, {}, false},
        {Gbk("0|出错了"), QStringLiteral("0|出错了"), {}, {}, false},
        {Gbk("1|1|您好，欢迎注册"),
         QStringLiteral("短信已达到"),
         QStringLiteral("您好，欢迎注册"),
         {},
         true},
        {"1|1|" + huge, QStringLiteral("短信已达到"), QString::fromStdString(huge),
         QStringLiteral("42"), true},
        // Bytes that are no GBK at all do not stop the digits being found.
        {"1|1|\x81\x20\xff code 9876",
         QStringLiteral("短信已达到"),
         {},
         QStringLiteral("9876"),
         true},
    };
    StartPoller();
    int phone = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply.substr(0, 30));
        Control<QPlainTextEdit>("编辑框5")->clear();
        const NumberRow row = AddRow(QStringLiteral("139000000%1").arg(10 + ++phone));
        ScriptPoll(row.phone, {Reply(200, c.reply)});
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const QString status = RowOf(row).status;
                return !status.isEmpty() && status != QStringLiteral("读取中");
            },
            30000));
        WaitForPasses(1);  // the forwarding, if any, follows the row's write
        const NumberRow done = RowOf(row);
        EXPECT_EQ(done.status, c.status);
        if (!c.sms.isNull()) {
            EXPECT_EQ(done.smsText, c.sms);
        }
        EXPECT_EQ(done.code, c.code);
        EXPECT_EQ(!ForwardLog().isEmpty(), c.forwarded);
        List().Remove(row.identity);
    }
}

// A network failure leaves the status empty, so the number is asked again next pass.
TEST_F(CodePollingTest, EmptyReplyIsAskedAgain) {
    const NumberRow row = AddRow(kPhone);
    ScriptPoll(kPhone, {Reply(200, "", {}, 0, true), Reply(200, "")});
    StartPoller();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Targets(QStringLiteral("yh_qm")).size() >= 3; }, 30000));
    EXPECT_NE(RowOf(row).status, QStringLiteral("短信已达到"));
}

TEST_F(CodePollingTest, PickerDecidesTheProjectOfEveryQuery) {
    AddRow(kPhone);
    sim_->Script("yh_qm", Reply(200, Gbk("0||没有收到短信")));
    StartPoller();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Targets(QStringLiteral("yh_qm")).contains(PollTarget(kPhone)); }, 30000));
    Picker()->setCurrentIndex(1);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return Targets(QStringLiteral("yh_qm"))
                .contains(PollTarget(kPhone, QStringLiteral("1002")));
        },
        30000));
    // The placeholder: nothing is asked until a project is chosen again.
    Picker()->setCurrentIndex(2);
    WaitForPasses(1);
    sim_->ClearRequests();
    WaitForPasses(3);
    EXPECT_TRUE(Targets(QStringLiteral("yh_qm")).isEmpty());
}

TEST(CodeOfSmsTest, FirstRunOfDigits) {
    struct Case {
        const char* sms;
        const char* code;
    };
    PatternMatcher matcher;
    for (const Case& c : {
             Case{"您的验证码是654321，5分钟内有效", "654321"},
             Case{"【10690】您的验证码是4321", "10690"},
             Case{"验证码：12ab34", "12"},
             Case{"code 00123456789012345678901234567890 and 77",
                  "00123456789012345678901234567890"},
             Case{"全角１２３不算 456", "456"},
             Case{"没有数字", ""},
             Case{"", ""},
         }) {
        SCOPED_TRACE(c.sms);
        EXPECT_EQ(CodeOfSms(matcher, QString::fromUtf8(c.sms)), QString::fromUtf8(c.code));
    }
}

}  // namespace
}  // namespace lanxun
