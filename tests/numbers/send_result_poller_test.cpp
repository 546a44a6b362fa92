// SendResultPoller against the local platform, on a clock whose date-time the test moves.

#include <QRegularExpression>

#include "age_limit_cases.h"
#include "send_sms_fixture.h"

namespace lanxun {
namespace {

using test::Gbk;
using test::Reply;

const QString kNumber = QStringLiteral("13812345678");
const QString kGivenUp = QStringLiteral("已停止获取原因：300秒内未取到发送结果");

class SendResultPollerTest : public test::SendSmsTest {
protected:
    // The yh_qm targets received, in order.
    QStringList Queries() const {
        QStringList targets;
        for (const platformsim::RecordedRequest& r : sim_->Requests()) {
            if (r.line == "pollLine") {
                targets << QString::fromStdString(r.target);
            }
        }
        return targets;
    }
    static QString QueryFor(const QString& number, const char* id = "2001") {
        return Prefix("yh_qm") + "&id=" + id + "&phone=" + number;
    }
    bool WaitForQueries(int count) {
        return QTest::qWaitFor([&] { return Queries().size() >= count; }, 30000);
    }
};

TEST_F(SendResultPollerTest, NotYetShowsThePlatformsTextWithAFreshLetterAndAsksAgain) {
    sim_->Script("yh_qm", Reply(200, Gbk(QStringLiteral("0|13812345678|没有收到短信"))));
    ShowObtained(kNumber, kStart);
    StartPoller();

    ASSERT_TRUE(WaitForQueries(2));
    EXPECT_EQ(Queries().first(), QueryFor(kNumber));
    EXPECT_EQ(Status(), QStringLiteral("没有收到短信"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^没有收到短信 \\[[a-z]\\]$"))
                    .match(ResultLine())
                    .hasMatch())
        << ResultLine().toStdString();
}

TEST_F(SendResultPollerTest, OutcomeEndsTheQueries) {
    struct Case {
        QString text;
        QString status;
    };
    const Case cases[] = {
        {QStringLiteral("短信发送成功"), QStringLiteral("成功")},
        {QStringLiteral("卡商发送失败"), QStringLiteral("失败")},
        {QStringLiteral("失败后重发成功"), QStringLiteral("成功")},  // both: success
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        poller_.reset();
        sim_->ClearRequests();
        status_->clear();
        sim_->Script("yh_qm", Reply(200, Gbk(QStringLiteral("1|x|") + c.text)));
        ShowObtained(kNumber, kStart);
        StartPoller();

        ASSERT_TRUE(QTest::qWaitFor([&] { return Status() == c.status; }, 30000));
        EXPECT_EQ(ResultLine(), c.text);
        ASSERT_TRUE(WaitForPasses(2));
        EXPECT_EQ(Queries().size(), 1);
    }
}

TEST_F(SendResultPollerTest, TextWithoutAnOutcomeGoesToTheSmsFieldAndTheNextPassAsksAgain) {
    sim_->Script("yh_qm", Reply(200, Gbk(QStringLiteral("1|x|卡商正在发送"))));
    ShowObtained(kNumber, kStart);
    resultLine_->setText(QStringLiteral("旧结果"));
    StartPoller();

    ASSERT_TRUE(WaitForQueries(2));
    EXPECT_EQ(smsText_->toPlainText(), QStringLiteral("卡商正在发送"));
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(ResultLine(), QStringLiteral("旧结果"));
}

TEST_F(SendResultPollerTest, ShortReplyIsShownAsReceivedAndOnlyAnEmptyOneIsAskedAgain) {
    struct Case {
        std::string body;
        bool asksAgain;  // an empty status still waits; any other text is an answer
    };
    for (const Case& c : {Case{"1|x", false}, Case{"", true}}) {
        SCOPED_TRACE(c.body);
        poller_.reset();
        sim_->ClearRequests();
        status_->clear();
        resultLine_->setText(QStringLiteral("旧结果"));
        sim_->Script("yh_qm", Reply(200, c.body));
        ShowObtained(kNumber, kStart);
        StartPoller();

        ASSERT_TRUE(WaitForQueries(1));
        ASSERT_TRUE(WaitForPasses(3));
        EXPECT_EQ(Queries().size() > 1, c.asksAgain);
        EXPECT_EQ(Status(), QString::fromStdString(c.body));
        EXPECT_EQ(ResultLine(), QString::fromStdString(c.body));
    }
}

TEST_F(SendResultPollerTest, OtherStatusTextIsAnAnswerAndEndsTheQueries) {
    sim_->Script("yh_qm", Reply(200, Gbk(QStringLiteral("2|x|号码已下线"))));
    ShowObtained(kNumber, kStart);
    StartPoller();

    ASSERT_TRUE(QTest::qWaitFor([&] { return Status() == QStringLiteral("号码已下线"); }, 30000));
    EXPECT_TRUE(ResultLine().startsWith(QStringLiteral("号码已下线 [")));
    ASSERT_TRUE(WaitForPasses(2));
    EXPECT_EQ(Queries().size(), 1);
}

// Each row of the age-limit table: past the limit the poller gives up without asking (a time
// that does not read back counts as past); within it, it asks.
TEST_F(SendResultPollerTest, AgeLimitEndsTheQueriesOrLetsThemGoOn) {
    sim_->Script("yh_qm", Reply(200, Gbk(QStringLiteral("0|x|没有收到短信"))));
    clock_.Set(test::kAgeLimitNow);
    for (const test::AgeLimitCase& c : test::kAgeLimitCases) {
        SCOPED_TRACE(c.obtainedAt);
        poller_.reset();
        sim_->ClearRequests();
        status_->clear();
        resultLine_->clear();
        number_->setText(kNumber);
        obtainedAt_->setText(QString::fromUtf8(c.obtainedAt));
        StartPoller();
        if (c.passed) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return Status() == kGivenUp; }, 30000));
            EXPECT_EQ(ResultLine(), kGivenUp);
            ASSERT_TRUE(WaitForPasses(2));
            EXPECT_TRUE(Queries().isEmpty());
        } else {
            ASSERT_TRUE(WaitForQueries(1));
            EXPECT_NE(Status(), kGivenUp);
        }
    }
}

TEST_F(SendResultPollerTest, LimitReachedWhileWaitingStopsTheQueries) {
    sim_->Script("yh_qm", Reply(200, Gbk(QStringLiteral("0|x|没有收到短信"))));
    ShowObtained(kNumber, kStart);
    StartPoller();
    ASSERT_TRUE(WaitForQueries(2));

    clock_.Advance(301);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Status() == kGivenUp; }, 30000));
    const qsizetype asked = Queries().size();
    ASSERT_TRUE(WaitForPasses(3));
    EXPECT_EQ(Queries().size(), asked);
}

TEST_F(SendResultPollerTest, AsksOnlyAboveIdThousandAndWithANumberAndATime) {
    sim_->Script("yh_qm", Reply(200, Gbk(QStringLiteral("0|x|没有收到短信"))));
    struct Case {
        QString item;
        QString number;
        bool withTime;
        bool asks;
    };
    const Case cases[] = {
        {QStringLiteral("[1000]最低 - {价格}：1 - (发短信)"), kNumber, true, false},
        {QString::fromUtf16(kSendPlaceholder), kNumber, true, false},
        {{}, {}, true, false},        // a time but no number
        {{}, kNumber, false, false},  // a number but no time
        {QStringLiteral("[1001]刚好 - {价格}：1 - (发短信)"), kNumber, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.item + "/" + c.number).toStdString());
        poller_.reset();
        sim_->ClearRequests();
        status_->clear();
        ShowSendProjects({{"2001", "移动营业厅(发送号码:10086)", "1"}});
        if (!c.item.isEmpty()) {
            SelectProjectItem(c.item);
        }
        number_->setText(c.number);
        obtainedAt_->setText(c.withTime ? DateTimeText(kStart) : QString());
        StartPoller();
        if (c.asks) {
            ASSERT_TRUE(WaitForQueries(1));
            EXPECT_EQ(Queries().first(), QueryFor(kNumber, "1001"));
        } else {
            ASSERT_TRUE(WaitForPasses(3));
            EXPECT_TRUE(Queries().isEmpty());
        }
    }
}

TEST_F(SendResultPollerTest, ResultForAReplacedNumberIsDropped) {
    // The first query is answered late with a success; by then the user has a new number.
    sim_->ScriptSequence("yh_qm", {Reply(200, Gbk(QStringLiteral("1|x|短信发送成功")), {}, 1500),
                                   Reply(200, Gbk(QStringLiteral("0|x|没有收到短信")))});
    ShowObtained(kNumber, kStart);
    StartPoller();
    ASSERT_TRUE(WaitForQueries(1));

    const QString newNumber = QStringLiteral("13987654321");
    ShowObtained(newNumber, kStart.addSecs(10));

    // Had the late success landed, the new number's status would be final and never asked.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Queries().size() >= 2; }, 30000));
    EXPECT_EQ(Queries()[1], QueryFor(newNumber));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Status() == QStringLiteral("没有收到短信"); }, 30000));
    EXPECT_EQ(smsText_->toPlainText(), "");
}

TEST_F(SendResultPollerTest, ResultForAClearedNumberIsDropped) {
    sim_->Script("yh_qm", Reply(200, Gbk(QStringLiteral("1|x|短信发送成功")), {}, 1500));
    ShowObtained(kNumber, kStart);
    StartPoller();
    ASSERT_TRUE(WaitForQueries(1));
    // A specified acquisition clears the time and keeps the number.
    obtainedAt_->clear();
    ASSERT_TRUE(WaitForPasses(2));
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(ResultLine(), "");
}

}  // namespace
}  // namespace lanxun
