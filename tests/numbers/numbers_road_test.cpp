#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>
#include <set>

#include "numbers/number_disposal_controller.h"
#include "numbers/numbers_page_controller.h"
#include "numbers/send_sms_page_controller.h"
#include "platform/gbk.h"
#include "support/find_child.h"
#include "support/main_window_sim_test.h"
#include "support/sim_reply.h"

namespace lanxun {
namespace {

using test::Child;
using test::Reply;

// The main window with all its routines: pick the first favourite, get three numbers, and
// each row ends with its province, "短信已达到" and the code.
using NumbersRoadTest = test::MainWindowSimTest;

TEST_F(NumbersRoadTest, BatchPolledToTheCode) {
    auto* picker = Child<QComboBox>(window_, "组合框_取号_项目列表");
    ASSERT_TRUE(QTest::qWaitFor([&] { return picker->count() > 0; }, 30000));
    sim_->ScriptSequence("yh_qh", {Reply(200, "1|13810010000"), Reply(200, "1|13810020000"),
                                   Reply(200, "1|13810030000")});
    sim_->Script(
        "yh_qm",
        Reply(200, ToGbk(QStringLiteral("1|1|【抖音】验证码246810，5分钟内有效")).toStdString()));
    Child<QLineEdit>(window_, "编辑框_取号_获取数量")->setText(QStringLiteral("3"));
    Child<QPushButton>(window_, "按钮_取号_获取号码")->click();

    NumberList& list = window_->numbers().List();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            if (list.RowCount() != 3) {
                return false;
            }
            for (int i = 0; i < 3; ++i) {
                const NumberRow row = list.Row(i);
                if (row.homeRegion.isEmpty() || row.code.isEmpty()) {
                    return false;
                }
            }
            return true;
        },
        60000));
    for (int i = 0; i < 3; ++i) {
        const NumberRow row = list.Row(i);
        EXPECT_EQ(row.status, QStringLiteral("短信已达到"));
        EXPECT_EQ(row.code, QStringLiteral("246810"));
        EXPECT_NE(row.homeRegion, QStringLiteral("未知"));
    }
}

// The same road on the local platform's own numbers: every row gets the code of its own SMS;
// "再次使用号码" makes the poller ask again and get a new SMS; numbers black-listed all at once
// are never handed out again.
TEST_F(NumbersRoadTest, PlatformNumbersReachTheirOwnCodesAndBlacklistedOnesStayAway) {
    sim_->Numbers().SetDefaultSmsPlan({.text = "", .queriesBefore = 1});
    auto* picker = Child<QComboBox>(window_, "组合框_取号_项目列表");
    ASSERT_TRUE(QTest::qWaitFor([&] { return picker->count() > 0; }, 30000));
    Child<QLineEdit>(window_, "编辑框_取号_获取数量")->setText(QStringLiteral("3"));
    auto* obtain = Child<QPushButton>(window_, "按钮_取号_获取号码");
    obtain->click();

    NumberList& list = window_->numbers().List();
    const auto allArrived = [&] {
        if (list.RowCount() != 3) {
            return false;
        }
        for (int i = 0; i < 3; ++i) {
            if (list.Row(i).status != QStringLiteral("短信已达到")) {
                return false;
            }
        }
        return true;
    };
    ASSERT_TRUE(QTest::qWaitFor(allArrived, 60000));
    const QRegularExpression digits(QStringLiteral("[0-9]+"));
    std::set<QString> firstNumbers;
    for (int i = 0; i < 3; ++i) {
        const NumberRow row = list.Row(i);
        EXPECT_EQ(row.code, digits.match(row.smsText).captured()) << row.phone.toStdString();
        EXPECT_EQ(row.code.size(), 6);
        firstNumbers.insert(row.phone);
    }
    ASSERT_EQ(firstNumbers.size(), 3u);

    // Use the second number again: a new yh_qh for it, then a new SMS on the same row.
    const NumberRow before = list.Row(1);
    list.View()->setCurrentItem(list.View()->topLevelItem(1));
    sim_->ClearRequests();
    window_->disposal().UseAgain();
    EXPECT_EQ(list.Row(1).status, QStringLiteral("没有收到短信"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return list.Row(1).status == QStringLiteral("短信已达到"); }, 60000));
    EXPECT_EQ(list.Row(1).phone, before.phone);
    EXPECT_NE(list.Row(1).smsText, before.smsText);
    bool askedAgain = false;
    for (const platformsim::RecordedRequest& r : sim_->Requests()) {
        askedAgain |= r.target.rfind("/yh_qh/", 0) == 0 &&
                      r.target.find("&phone=" + before.phone.toStdString()) != std::string::npos;
    }
    EXPECT_TRUE(askedAgain);

    // Black-list all three, then a new batch of three: none of them comes back.
    window_->disposal().DisposeAll(Disposal::Blacklist);
    EXPECT_EQ(list.RowCount(), 0);
    std::set<QString> blacklisted;
    for (const platformsim::DisposedNumber& d : sim_->Numbers().Disposals()) {
        if (d.how == platformsim::Disposal::Blacklist) {
            blacklisted.insert(QString::fromStdString(d.phone));
        }
    }
    EXPECT_EQ(blacklisted, firstNumbers);
    obtain->click();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return list.RowCount() == 3 && obtain->isEnabled(); }, 60000));
    for (const QString& phone : list.Phones()) {
        EXPECT_EQ(firstNumbers.count(phone), 0u) << phone.toStdString();
    }
}

// The tab "发短信" on the platform's own model: a send project, a number, a sending number, a
// text, and the send result "成功" reported by the poller.
TEST_F(NumbersRoadTest, SentSmsEndsInSuccess) {
    auto* picker = Child<QComboBox>(window_, "组合框_发短信_项目列表");
    ASSERT_TRUE(QTest::qWaitFor([&] { return picker->count() > 0; }, 30000));
    for (int i = 0; i < picker->count(); ++i) {
        if (picker->itemText(i).startsWith(QStringLiteral("[2001]"))) {
            picker->setCurrentIndex(i);
        }
    }
    ASSERT_TRUE(picker->currentText().startsWith(QStringLiteral("[2001]")));
    window_->sendSms().ChooseProject();
    auto* sendingNumbers = Child<QComboBox>(window_, "组合框_发送号码");
    EXPECT_EQ(sendingNumbers->currentText(), QStringLiteral("10086"));

    window_->sendSms().ObtainNumber();
    auto* number = Child<QLineEdit>(window_, "编辑框_发短信_获取号码");
    ASSERT_FALSE(number->text().isEmpty());
    EXPECT_EQ(sim_->Numbers().Held().back().phone, number->text().toStdString());
    Child<QPlainTextEdit>(window_, "编辑框_发短信_发送内容")->setPlainText(QStringLiteral("CXYE"));
    window_->sendSms().Submit();
    ASSERT_EQ(sim_->Numbers().Submissions().size(), 1u);
    EXPECT_EQ(sim_->Numbers().Submissions()[0].send, "10086");
    EXPECT_EQ(sim_->Numbers().Submissions()[0].content, "CXYE");

    auto* status = Child<QLineEdit>(window_, "编辑框_发短信_取码状态");
    ASSERT_TRUE(QTest::qWaitFor([&] { return status->text() == QStringLiteral("成功"); }, 60000));
    EXPECT_EQ(Child<QLabel>(window_, "透明标签40")->text(), QStringLiteral("成功"));
}

}  // namespace
}  // namespace lanxun
