#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>
#include <mutex>

#include "api/protocol.h"
#include "numbers/loop_mode.h"
#include "numbers_page_fixture.h"
#include "platform/input_simulator.h"
#include "support/sim_reply.h"

namespace lanxun {
namespace {

using test::Reply;
using test::SimTargets;

// What the batch hands to code forwarding to type, keys shown as "[S-Enter]" and "[Enter]".
class RecordingInput : public InputSimulator {
public:
    bool TypeText(WindowHandle, const QString& text) override {
        std::lock_guard lock(mutex_);
        typed_ << text;
        return true;
    }
    bool PressKey(WindowHandle, int, int modifiers) override {
        std::lock_guard lock(mutex_);
        typed_ << (modifiers == kShiftKey ? QStringLiteral("[S-Enter]")
                                          : QStringLiteral("[Enter]"));
        return true;
    }
    QStringList Typed() {
        std::lock_guard lock(mutex_);
        return typed_;
    }

private:
    std::mutex mutex_;
    QStringList typed_;
};

class AcquisitionTest : public test::NumbersPageTest {
protected:
    void SetUp() override {
        NumbersPageTest::SetUp();
        InstallInput(&input_);
    }
    RecordingInput input_;

    QStringList NumberLines() {
        const QString text = Control<QPlainTextEdit>("编辑框6")->toPlainText();
        return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    }
    QStringList Phones() { return List().Phones(); }
    QStringList Sequences() {
        QStringList sequences;
        for (const NumberRow& row : Rows()) {
            sequences << row.sequence;
        }
        return sequences;
    }
    // Four buttons of the page, enabled or not, in one list.
    std::vector<bool> ButtonsEnabled() {
        std::vector<bool> states;
        for (const char* name :
             {"按钮_取号_获取号码", "按钮_取号_指定", "按钮_取号_全部加黑", "按钮_取号全部释放"}) {
            states.push_back(Control<QAbstractButton>(name)->isEnabled());
        }
        return states;
    }
    void ScriptNumbers(int count) {
        std::vector<platformsim::ScriptedReply> replies;
        for (int i = 1; i <= count; ++i) {
            replies.push_back(Reply(200, "1|138000000" + std::to_string(10 + i)));
        }
        sim_->ScriptSequence("yh_qh", replies);
    }
    // A fresh case of a table: no requests or messages yet, one number of project 1002
    // listed, and the platform giving 13800000011.
    void StartWithOneListedNumber() {
        sim_->ClearRequests();
        fakes_.messageBoxes.shown.clear();
        List().Clear();
        List().Append(QStringLiteral("13900000001"), QStringLiteral("2026年12月10日15时"),
                      QStringLiteral("1002"));
        sim_->Script("yh_qh", Reply(200, "1|13800000011"));
    }
    QString BatchPairs(const QString& id = QStringLiteral("1003")) {
        return QStringLiteral("&id=") + id + QStringLiteral("&operator=&region=&card=&loop=1");
    }
};

TEST_F(AcquisitionTest, FullBatchOfSixteenGivesSixteenRowsInOrder) {
    ScriptNumbers(16);
    RunBatch(QStringLiteral("16"));
    ASSERT_EQ(List().RowCount(), 16);
    QStringList sequences;
    QStringList lines;
    for (int i = 1; i <= 16; ++i) {
        sequences << QString::number(i);
        lines << QStringLiteral("COM%1 138000000%2").arg(i).arg(10 + i);
    }
    EXPECT_EQ(Sequences(), sequences);
    EXPECT_EQ(NumberLines(), lines);
    // Every attempt asked with the page's options (loop "1" from the first activation).
    EXPECT_EQ(Targets(QStringLiteral("yh_qh")), QStringList(16, Target("yh_qh", BatchPairs())));
    EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
    EXPECT_EQ(ButtonsEnabled(), (std::vector<bool>{true, true, true, true}));
}

TEST_F(AcquisitionTest, SeventeenIsRefusedAndTheListStaysAsItWas) {
    List().Append(QStringLiteral("13900000001"), QStringLiteral("2026年12月10日15时"),
                  QStringLiteral("1002"));
    RunBatch(QStringLiteral("17"));
    ASSERT_EQ(fakes_.messageBoxes.Texts(), QStringList{QStringLiteral("一次最多只能取16个号码")});
    EXPECT_EQ(fakes_.messageBoxes.shown.front().icon, MessageIcon::Question);
    EXPECT_EQ(Phones(), QStringList{QStringLiteral("13900000001")});
    EXPECT_TRUE(sim_->Requests().empty());
}

TEST_F(AcquisitionTest, RefusalAfterANumberIsSkippedAndLinesKeepTheAttemptNumber) {
    sim_->ScriptSequence("yh_qh", {Reply(200, "1|13800000011"), Reply(200, test::Gbk("0|暂无号码")),
                                   Reply(200, "1|13800000033")});
    RunBatch(QStringLiteral("3"));
    EXPECT_EQ(Sequences(), (QStringList{"1", "2"}));
    EXPECT_EQ(Phones(), (QStringList{"13800000011", "13800000033"}));
    EXPECT_EQ(NumberLines(), (QStringList{"COM1 13800000011", "COM3 13800000033"}));
    EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
    // Handed to forwarding with forwarding off all the same, one message of two lines.
    EXPECT_EQ(input_.Typed(), (QStringList{"COM1 13800000011", "[S-Enter]", "COM3 13800000033",
                                           "[S-Enter]", "[Enter]"}));
}

TEST_F(AcquisitionTest, FirstRefusalShowsTheMessageWithoutZeroBarsAndEndsAfterTheRelease) {
    List().Append(QStringLiteral("13900000001"), QStringLiteral("2026年12月10日15时"),
                  QStringLiteral("1002"));
    List().Append(QStringLiteral("13900000002"), QStringLiteral("2026年12月10日15时"),
                  QStringLiteral("1001"));
    sim_->Script("yh_qh", Reply(200, test::Gbk("0|余额不足0|请充值")));
    RunBatch(QStringLiteral("5"));
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{QStringLiteral("余额不足请充值")});
    // The old numbers went back first, each with its own project, then one attempt only.
    EXPECT_EQ(SimTargets(*sim_), (QStringList{Target("yh_sf", "&id=1002&phone=13900000001"),
                                              Target("yh_sf", "&id=1001&phone=13900000002"),
                                              Target("yh_qh", BatchPairs())}));
    EXPECT_EQ(List().RowCount(), 0);
    EXPECT_TRUE(NumberLines().isEmpty());
    EXPECT_TRUE(Control<QLabel>("透明标签_取号_状态提示")->text().isEmpty());
}

TEST_F(AcquisitionTest, RowsHoldTheirTimeAndProjectAndKeepThemWhenThePickerChanges) {
    sim_->Script("yh_qh", Reply(200, "1|13800000011"));
    Control<QLineEdit>("编辑框_取号_指定")->setText(QStringLiteral("13912345678"));
    RunBatch(QStringLiteral("1"));
    Picker()->setCurrentIndex(1);
    ASSERT_EQ(List().RowCount(), 1);
    const NumberRow row = List().Row(0);
    EXPECT_EQ(row.obtainedAt, DateTimeText(clock_.Now()));
    EXPECT_EQ(row.projectId, QStringLiteral("1003"));
    EXPECT_TRUE(row.homeRegion.isEmpty() && row.code.isEmpty() && row.status.isEmpty() &&
                row.smsText.isEmpty());
    // The batch empties the chosen-number box.
    EXPECT_TRUE(Control<QLineEdit>("编辑框_取号_指定")->text().isEmpty());
}

// A picker item whose ID is below 1000, or no ID at all, asks for nothing and says nothing.
TEST_F(AcquisitionTest, ProjectIdFromOneThousandUp) {
    struct Case {
        const char* item;
        bool requested;
    };
    for (const Case& c :
         {Case{"[1000]边界项目 - {价格}：0.10", true}, Case{"[999]边界项目 - {价格}：0.10", false},
          Case{"您未收藏[短信项目]，可通过关键字或项目ID进行搜索。", false},
          Case{"[10a3]坏项目", false}}) {
        SCOPED_TRACE(c.item);
        const qsizetype typed = input_.Typed().size();
        sim_->ClearRequests();
        sim_->Script("yh_qh", Reply(200, "1|13800000011"));
        Picker()->addItem(QString::fromUtf8(c.item));
        Picker()->setCurrentIndex(Picker()->count() - 1);
        RunBatch(QStringLiteral("1"));
        const QStringList expected =
            c.requested ? QStringList{Target("yh_qh", BatchPairs(QStringLiteral("1000")))}
                        : QStringList{};
        EXPECT_EQ(Targets(QStringLiteral("yh_qh")), expected);
        EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
        // Without a project the batch ends before forwarding is handed anything.
        EXPECT_EQ(input_.Typed().size() == typed, !c.requested);
        EXPECT_EQ(ButtonsEnabled(), (std::vector<bool>{true, true, true, true}));
    }
}

TEST_F(AcquisitionTest, OptionsGoOutAsTheirValuesTheRegionAsItsName) {
    sim_->Script("yh_qh", Reply(200, "1|13800000011"));
    Control<QComboBox>("组合框_运营商")->setCurrentIndex(2);  // 联通
    Control<QComboBox>("组合框_卡型")->setCurrentIndex(1);    // 虚拟
    Control<QComboBox>("组合框_地区")->setCurrentText(QStringLiteral("江苏"));
    Control<QCheckBox>("选择框_取号_不过滤")->click();  // ticked: "2"
    RunBatch(QStringLiteral("1"));
    // The region's name, percent-escaped as UTF-8 on its way out.
    EXPECT_EQ(Targets(QStringLiteral("yh_qh")),
              QStringList{
                  Target("yh_qh", "&id=1003&operator=2&region=%E6%B1%9F%E8%8B%8F&card=1&loop=2")});
    Control<QCheckBox>("选择框_取号_不过滤")->click();
    EXPECT_EQ(GetLoopMode(), QStringLiteral("1"));
}

// Counts that are not a number from 1 to 16.
TEST_F(AcquisitionTest, BadCounts) {
    struct Case {
        const char* count;
        bool tooMany;
    };
    for (const Case& c : {Case{"", false}, Case{"abc", false}, Case{"-3", false}, Case{"0", false},
                          Case{"99999999999", true}}) {
        SCOPED_TRACE(c.count);
        const qsizetype enters = input_.Typed().count(QStringLiteral("[Enter]"));
        StartWithOneListedNumber();
        RunBatch(QString::fromUtf8(c.count));
        EXPECT_TRUE(Targets(QStringLiteral("yh_qh")).isEmpty());
        if (c.tooMany) {
            EXPECT_EQ(fakes_.messageBoxes.Texts(),
                      QStringList{QStringLiteral("一次最多只能取16个号码")});
            EXPECT_EQ(List().RowCount(), 1);
            EXPECT_EQ(input_.Typed().count(QStringLiteral("[Enter]")), enters);
        } else {
            // Released and emptied all the same, without a word.
            EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
            // Forwarding still gets the (empty) set of lines: the closing Enter alone.
            EXPECT_EQ(input_.Typed().count(QStringLiteral("[Enter]")), enters + 1);
            EXPECT_EQ(Targets(QStringLiteral("yh_sf")).size(), 1);
            EXPECT_EQ(List().RowCount(), 0);
        }
    }
}

// What the platform may answer to yh_qh, each as the first and only attempt.
TEST_F(AcquisitionTest, BadNumberReplies) {
    const std::string zeros = [] {
        std::string text;
        for (int i = 0; i < 5000; ++i) {
            text += "0|";
        }
        return text;
    }();
    const std::string longNumber(200, '7');
    struct Case {
        std::string reply;
        QStringList phones;
        QStringList messages;
    };
    const std::vector<Case> cases = {
        {"", {}, {}},  // no fields: nothing at all
        {"1", {}, {QStringLiteral("1")}},
        {"1|", {}, {QStringLiteral("1|")}},
        {"1|138 0000 0011", {QStringLiteral("138 0000 0011")}, {}},
        {"1|" + longNumber, {QString::fromStdString(longNumber)}, {}},
        {zeros + "\xce\xde\xba\xc5", {}, {QStringLiteral("无号")}},  // GBK 无号
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply.substr(0, 40));
        fakes_.messageBoxes.shown.clear();
        sim_->Script("yh_qh", Reply(200, c.reply));
        RunBatch(QStringLiteral("1"));
        EXPECT_EQ(Phones(), c.phones);
        EXPECT_EQ(fakes_.messageBoxes.Texts(), c.messages);
        EXPECT_EQ(ButtonsEnabled(), (std::vector<bool>{true, true, true, true}));
    }
}

TEST_F(AcquisitionTest, ButtonsAreDisabledWhileTheBatchRunsOnItsOwnThread) {
    sim_->Script("yh_qh", Reply(200, "1|13800000011", {}, 300));
    Control<QLineEdit>("编辑框_取号_获取数量")->setText(QStringLiteral("2"));
    Control<QAbstractButton>("按钮_取号_获取号码")->click();
    // The click has returned while the first reply is still being held back.
    EXPECT_TRUE(Page().BatchRunning());
    ASSERT_TRUE(test::WaitForRequests(*sim_, 1));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !ButtonsEnabled()[0]; }, 30000));
    EXPECT_EQ(ButtonsEnabled(), (std::vector<bool>{false, false, false, false}));
    // A second click meanwhile starts nothing.
    Page().ObtainBatch();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Page().BatchRunning(); }, 60000));
    EXPECT_EQ(Targets(QStringLiteral("yh_qh")).size(), 2);
    EXPECT_EQ(ButtonsEnabled(), (std::vector<bool>{true, true, true, true}));
}

// The platform stops answering after the first number: the rest of the batch gets empty
// replies, adds nothing, says nothing, and the page is usable again.
TEST_F(AcquisitionTest, PlatformGoingAwayMidBatch) {
    sim_->ScriptSequence("yh_qh", {Reply(200, "1|13800000011"), Reply(200, "", {}, 0, true)});
    RunBatch(QStringLiteral("4"));
    EXPECT_EQ(Phones(), QStringList{QStringLiteral("13800000011")});
    EXPECT_EQ(NumberLines(), QStringList{QStringLiteral("COM1 13800000011")});
    EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
    EXPECT_EQ(ButtonsEnabled(), (std::vector<bool>{true, true, true, true}));
}

// The window goes while a batch waits for a reply: the batch thread ends with it.
TEST_F(AcquisitionTest, ClosingTheWindowMidBatchStopsTheBatch) {
    sim_->Script("yh_qh", Reply(200, "1|13800000011", {}, 200));
    Control<QLineEdit>("编辑框_取号_获取数量")->setText(QStringLiteral("16"));
    Control<QAbstractButton>("按钮_取号_获取号码")->click();
    ASSERT_TRUE(test::WaitForRequests(*sim_, 1));
    delete window_.data();
    EXPECT_TRUE(window_.isNull());
    EXPECT_LT(Targets(QStringLiteral("yh_qh")).size(), 16);
}

TEST_F(AcquisitionTest, ChosenNumberIsAskedForAsTyped) {
    List().Append(QStringLiteral("13900000001"), QStringLiteral("2026年12月10日15时"),
                  QStringLiteral("1002"));
    sim_->Script("yh_qh", Reply(200, "1|13912345678"));
    Control<QLineEdit>("编辑框_取号_指定")->setText(QStringLiteral("13912345678"));
    Control<QAbstractButton>("按钮_取号_指定")->click();
    EXPECT_EQ(SimTargets(*sim_), (QStringList{Target("yh_sf", "&id=1002&phone=13900000001"),
                                              Target("yh_qh", "&id=1003&phone=13912345678")}));
    EXPECT_EQ(Phones(), QStringList{QStringLiteral("13912345678")});
    EXPECT_EQ(List().Row(0).sequence, QStringLiteral("1"));
    EXPECT_EQ(List().Row(0).projectId, QStringLiteral("1003"));
    // The box keeps what was typed.
    EXPECT_EQ(Control<QLineEdit>("编辑框_取号_指定")->text(), QStringLiteral("13912345678"));
    EXPECT_EQ(ButtonsEnabled(), (std::vector<bool>{true, true, true, true}));
}

TEST_F(AcquisitionTest, ChosenNumberRefusedOrNotTyped) {
    sim_->Script("yh_qh", Reply(200, test::Gbk("0|号码已被占用0|")));
    Control<QLineEdit>("编辑框_取号_指定")->setText(QStringLiteral("13912345678"));
    Control<QAbstractButton>("按钮_取号_指定")->click();
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{QStringLiteral("号码已被占用")});
    EXPECT_EQ(List().RowCount(), 0);

    sim_->ClearRequests();
    Control<QLineEdit>("编辑框_取号_指定")->clear();
    Control<QAbstractButton>("按钮_取号_指定")->click();
    EXPECT_TRUE(sim_->Requests().empty());
    EXPECT_EQ(ButtonsEnabled(), (std::vector<bool>{true, true, true, true}));
}

// The window is asked to go while the chosen-number handler waits for its reply: it goes once
// the handler has returned, and the handler adds nothing to a window on its way out.
TEST_F(AcquisitionTest, WindowGoingWhileTheChosenNumberIsAskedFor) {
    sim_->Script("yh_qh", Reply(200, "1|13912345678", {}, 300));
    Control<QLineEdit>("编辑框_取号_指定")->setText(QStringLiteral("13912345678"));
    QTimer::singleShot(50, window_, [this] { window_->deleteLater(); });
    Control<QAbstractButton>("按钮_取号_指定")->click();
    ASSERT_FALSE(window_.isNull());
    EXPECT_EQ(List().RowCount(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window_.isNull());
}

// The count box stays editable while the old numbers go back, so what it holds when the
// attempts begin is checked again as the first reading was: too many ends the batch with the
// same message and no attempt; no number makes no attempt.
TEST_F(AcquisitionTest, ACountTypedDuringTheReleaseIsCheckedAgain) {
    struct Case {
        const char* count;
        int attempts;
        bool tooMany;
    };
    for (const Case& c :
         {Case{"200", 0, true}, Case{"17", 0, true}, Case{"99999999999", 0, true},
          Case{"", 0, false}, Case{"abc", 0, false}, Case{"-3", 0, false}, Case{"2", 2, false}}) {
        SCOPED_TRACE(c.count);
        StartWithOneListedNumber();
        // The old number goes back to a platform of its own that holds the reply until the
        // count has been typed.
        platformsim::PlatformSim holding;
        ASSERT_TRUE(holding.Start());
        holding.Script("yh_sf", Reply(200, "1", {}, 60000));
        ServerLines lines = test::SimLines(*sim_);
        lines.disposalLine = QString::fromStdString(holding.Address(platformsim::Line::Disposal));
        SetLines(lines);
        auto* count = Control<QLineEdit>("编辑框_取号_获取数量");
        count->setText(QStringLiteral("1"));

        Control<QAbstractButton>("按钮_取号_获取号码")->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !holding.Requests().empty(); }, 30000));
        count->setText(QString::fromUtf8(c.count));
        holding.Stop();  // the reply never comes: the release goes on
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Page().BatchRunning(); }, 60000));

        EXPECT_EQ(Targets(QStringLiteral("yh_qh")).size(), c.attempts);
        EXPECT_EQ(
            fakes_.messageBoxes.Texts(),
            c.tooMany ? QStringList{QStringLiteral("一次最多只能取16个号码")} : QStringList());
        EXPECT_EQ(List().RowCount(), c.attempts);
        EXPECT_EQ(ButtonsEnabled(), (std::vector<bool>{true, true, true, true}));
    }
}

}  // namespace
}  // namespace lanxun
