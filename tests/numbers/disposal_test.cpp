// The number list's own actions on the tab "取号", through the real main window, against the
// local platform and the real clipboard: the menu "取号功能", the double click, the copies,
// "再次使用号码", and giving back one number or all of them.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include "account/login_state.h"
#include "api/protocol.h"
#include "api/server_lines.h"
#include "numbers/number_disposal_controller.h"
#include "numbers/number_list.h"
#include "projects/project_items.h"
#include "sim_text.h"
#include "support/fake_services.h"
#include "support/find_child.h"
#include "support/sim_lines.h"
#include "support/sim_reply.h"
#include "support/sim_test.h"
#include "ui/main_window.h"
#include "ui/menus.h"

namespace lanxun {
namespace {

using test::Reply;

const QString kReleasing = QStringLiteral("正在释放当前列表手机号码中请稍候..");
const QString kProject1001 = QStringLiteral("[1001]测试项目 - {价格}：0.10");
const char* const kAcquisitionButtons[] = {"按钮_取号_获取号码", "按钮_取号_指定",
                                           "按钮_取号_全部加黑", "按钮_取号全部释放"};

// The main window without its routines, the demo account on the local platform, the real
// clipboard, and a fast clock for the pauses between numbers.
class DisposalTest : public test::SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        SetLines(test::SimLines(*sim_));
        CurrentLogin().userName = QStringLiteral("demo2026");
        CurrentLogin().password = QStringLiteral("lanxun666");
        // Copies are read back from the system clipboard itself.
        InstallClipboard(nullptr);
        window_ = new MainWindow(QPointer<QWidget>(), std::vector<WorkerFactory>{});
        window_->show();
        list_ = std::make_unique<NumberList>(View());
        Pick(kProject1001);
    }
    void TearDown() override { delete window_.data(); }

    template <typename T = QWidget>
    T* Child(const char* name) {
        return test::Child<T>(window_, name);
    }
    QTreeWidget* View() { return Child<QTreeWidget>("超级列表框_取码_列表框"); }
    QMenu* Menu() { return window_->menus().numberList.menu; }
    void MenuItem(QAction* NumberListMenu::*item) {
        (window_->menus().numberList.*item)->trigger();
    }
    void Pick(const QString& item) {
        auto* picker = Child<QComboBox>("组合框_取号_项目列表");
        picker->clear();
        if (!item.isEmpty()) {
            picker->addItem(item);
            picker->setCurrentIndex(0);
        }
    }
    void Select(int position) { View()->setCurrentItem(View()->topLevelItem(position)); }

    // Three numbers of three projects, as an acquisition leaves them, the second with a code.
    void FillThree() {
        list_->Append(QStringLiteral("13800000001"), QStringLiteral("2026年1月1日10时"),
                      QStringLiteral("1001"));
        const NumberRow second =
            list_->Append(QStringLiteral("13800000002"), QStringLiteral("2026年1月1日10时"),
                          QStringLiteral("1002"));
        list_->Write(second.identity,
                     {{NumberList::kCode, QStringLiteral("482913")},
                      {NumberList::kSmsText, QStringLiteral("【测试】验证码482913")}});
        list_->Append(QStringLiteral("13800000003"), QStringLiteral("2026年1月1日10时"),
                      QStringLiteral("1003"));
    }
    QStringList Phones() { return list_->Phones(); }

    // The disposal line at a platform that has stopped: every connection is refused.
    void PointDisposalAtAStoppedPlatform() {
        platformsim::PlatformSim stopped;
        ASSERT_TRUE(stopped.Start());
        ServerLines lines = test::SimLines(*sim_);
        lines.disposalLine = QString::fromStdString(stopped.Address(platformsim::Line::Disposal));
        stopped.Stop();
        SetLines(lines);
    }

    // The targets received, with the demo account's common prefix shortened to "…".
    static QStringList Targets() {
        QStringList targets;
        for (QString target : test::SimTargets(*sim_)) {
            targets << target.replace(QStringLiteral("/username=demo2026&password=lanxun666"),
                                      QStringLiteral("/…"));
        }
        return targets;
    }
    static QString ClipboardText() { return QGuiApplication::clipboard()->text(); }
    static void SetClipboardText(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
    }
    bool AcquisitionButtonsEnabled(bool enabled) {
        for (const char* name : kAcquisitionButtons) {
            if (Child<QPushButton>(name)->isEnabled() != enabled) {
                return false;
            }
        }
        return true;
    }

    test::FakeServices fakes_;
    // Fast, but the platform time-outs that follow it still leave a held reply 300 ms.
    test::FastClock clock_{50};
    test::ScopedClock useClock_{clock_};
    QPointer<MainWindow> window_;
    std::unique_ptr<NumberList> list_;
};

// What a window shows while a handler runs, sampled on every turn of its event loop.
class Probe {
public:
    explicit Probe(std::function<void()> sample) : sample_(std::move(sample)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { sample_(); });
        timer_.start(0);
    }

private:
    std::function<void()> sample_;
    QTimer timer_;
};

struct AllCase {
    const char* name;
    const char* button;
    const char* question;
    const char* word;
};

class GiveBackAll : public DisposalTest, public ::testing::WithParamInterface<AllCase> {};

// Every row goes with its own project and number, in order, whatever the replies; the status
// label and the four buttons show the run; the list is empty after it.
TEST_P(GiveBackAll, SendsEveryRowWithItsOwnProjectInOrderAndEmptiesTheList) {
    const AllCase& c = GetParam();
    FillThree();
    sim_->ScriptSequence(c.word, {Reply(200, platformsim::Gbk("1|成功")),
                                  Reply(200, platformsim::Gbk("0|号码不存在")), Reply(200, "")});
    std::set<QString> labels;
    bool buttonsHeldWhileShown = true;
    const Probe probe([&] {
        const QString label = Child<QLabel>("透明标签_取号_状态提示")->text();
        labels.insert(label);
        if (label == kReleasing && !AcquisitionButtonsEnabled(false)) {
            buttonsHeldWhileShown = false;
        }
    });

    Child<QPushButton>(c.button)->click();

    const QString word = QString::fromUtf8(c.word);
    EXPECT_EQ(Targets(), QStringList({"/" + word + "/…&id=1001&phone=13800000001",
                                      "/" + word + "/…&id=1002&phone=13800000002",
                                      "/" + word + "/…&id=1003&phone=13800000003"}));
    for (const platformsim::RecordedRequest& request : sim_->Requests()) {
        EXPECT_EQ(request.line, "disposalLine");
    }
    EXPECT_TRUE(labels.count(kReleasing)) << "the status text while the numbers go back";
    EXPECT_TRUE(buttonsHeldWhileShown);
    EXPECT_EQ(list_->RowCount(), 0);
    EXPECT_EQ(Child<QLabel>("透明标签_取号_状态提示")->text(), QString());
    EXPECT_TRUE(AcquisitionButtonsEnabled(true));
    ASSERT_EQ(fakes_.messageBoxes.shown.size(), 1u) << "the confirmation, and no reply shown";
    EXPECT_EQ(fakes_.messageBoxes.shown[0].text, QString::fromUtf8(c.question));
    EXPECT_EQ(fakes_.messageBoxes.shown[0].buttons, MessageButtons::YesNo);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, GiveBackAll,
    ::testing::Values(AllCase{"Release", "按钮_取号全部释放", "释放号码", "yh_sf"},
                      AllCase{"Blacklist", "按钮_取号_全部加黑", "拉黑号码", "yh_lh"}),
    [](const auto& info) { return std::string(info.param.name); });

// No in any of the four confirmations sends nothing and keeps every row.
TEST_F(DisposalTest, NoInTheConfirmationSendsNothing) {
    FillThree();
    const std::vector<std::function<void()>> actions = {
        [this] { MenuItem(&NumberListMenu::release); },
        [this] { MenuItem(&NumberListMenu::blacklist); },
        [this] { Child<QPushButton>("按钮_取号全部释放")->click(); },
        [this] { Child<QPushButton>("按钮_取号_全部加黑")->click(); },
    };
    Select(1);
    for (const auto& action : actions) {
        fakes_.messageBoxes.answers = {false};
        action();
    }
    EXPECT_EQ(fakes_.messageBoxes.Texts(),
              QStringList({"释放号码", "拉黑号码", "释放号码", "拉黑号码"}));
    EXPECT_TRUE(sim_->Requests().empty());
    EXPECT_EQ(Phones(), QStringList({"13800000001", "13800000002", "13800000003"}));
    EXPECT_TRUE(AcquisitionButtonsEnabled(true));
}

struct OneCase {
    const char* name;
    QAction* NumberListMenu::*item;
    const char* caption;  // the item's caption, which is also the question asked
    const char* word;
    platformsim::ScriptedReply reply;
};

class GiveBackOne : public DisposalTest, public ::testing::WithParamInterface<OneCase> {};

// The menu's release or black-listing sends the selected row's own project and number, and
// deletes that row whatever came back; nothing but the confirmation is shown.
TEST_P(GiveBackOne, DeletesTheSelectedRowWhateverTheReply) {
    const OneCase& c = GetParam();
    FillThree();
    sim_->Script(c.word, c.reply);
    Select(1);

    MenuItem(c.item);

    EXPECT_EQ(Targets(),
              QStringList({"/" + QString::fromUtf8(c.word) + "/…&id=1002&phone=13800000002"}));
    EXPECT_EQ(Phones(), QStringList({"13800000001", "13800000003"}));
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList({QString::fromUtf8(c.caption)}));
}

INSTANTIATE_TEST_SUITE_P(
    Replies, GiveBackOne,
    ::testing::Values(OneCase{"Refused", &NumberListMenu::release, "释放号码", "yh_sf",
                              Reply(200, platformsim::Gbk("0|释放失败"))},
                      OneCase{"Empty", &NumberListMenu::release, "释放号码", "yh_sf",
                              Reply(200, "")},
                      OneCase{"Released", &NumberListMenu::release, "释放号码", "yh_sf",
                              Reply(200, platformsim::Gbk("1|成功"))},
                      OneCase{"Blacklisted", &NumberListMenu::blacklist, "拉黑号码", "yh_lh",
                              Reply(200, platformsim::Gbk("1|成功"))},
                      OneCase{"Dropped", &NumberListMenu::blacklist, "拉黑号码", "yh_lh",
                              Reply(200, "", {}, 0, true)}),
    [](const auto& info) { return std::string(info.param.name); });

// The row that goes is the one that was read before the request, also when a row before it
// has been deleted meanwhile (as a batch or another handler may do while the reply is awaited).
TEST_F(DisposalTest, TheSingleDisposalDeletesTheRowItReadNotTheOneInItsPlace) {
    FillThree();
    // A platform of its own that holds the reply until the test stops it.
    platformsim::PlatformSim holding;
    ASSERT_TRUE(holding.Start());
    holding.Script("yh_sf", Reply(200, platformsim::Gbk("1|成功"), {}, 60000));
    ServerLines lines = test::SimLines(*sim_);
    lines.disposalLine = QString::fromStdString(holding.Address(platformsim::Line::Disposal));
    SetLines(lines);
    const quint64 first = list_->Row(0).identity;
    NumberList& shared = *list_;
    std::thread other([&] {
        if (holding.WaitForRequests(1, std::chrono::seconds(30))) {
            shared.Remove(first);
        }
        holding.Stop();  // the reply never comes: the request ends empty
    });
    Select(1);

    MenuItem(&NumberListMenu::release);
    other.join();

    ASSERT_EQ(holding.Requests().size(), 1u);
    EXPECT_NE(holding.Requests()[0].target.find("&id=1002&phone=13800000002"), std::string::npos);
    EXPECT_EQ(Phones(), QStringList({"13800000003"}));
}

// A right click pops the menu up only for a project above 1000, and the single copies follow
// the same rule; the actions that send a request accept 1000 itself.
struct PickCase {
    const char* name;
    QString item;
    bool menu;
    bool useAgain;
};

class ProjectThresholds : public DisposalTest, public ::testing::WithParamInterface<PickCase> {};

TEST_P(ProjectThresholds, MenuAndCopiesNeedAboveOneThousandRequestsOneThousand) {
    const PickCase& c = GetParam();
    FillThree();
    Pick(c.item);
    Select(1);
    sim_->Script("yh_qh", Reply(200, platformsim::Gbk("0|没有号码")));

    QWidget* viewport = View()->viewport();
    const QPoint at = View()->visualItemRect(View()->topLevelItem(1)).center();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QCoreApplication::sendEvent(viewport, &rightClick);
    EXPECT_EQ(Menu()->isVisible(), c.menu);
    Menu()->hide();

    SetClipboardText(QStringLiteral("旧内容"));
    MenuItem(&NumberListMenu::copyCode);
    EXPECT_EQ(ClipboardText(), c.menu ? QStringLiteral("482913") : QStringLiteral("旧内容"));

    MenuItem(&NumberListMenu::useAgain);
    EXPECT_EQ(sim_->Requests().size(), c.useAgain ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Picks, ProjectThresholds,
    ::testing::Values(
        PickCase{"Above", QStringLiteral("[1001]测试项目 - {价格}：0.10"), true, true},
        PickCase{"Exactly1000", QStringLiteral("[1000]测试项目 - {价格}：0.10"), false, true},
        PickCase{"Below", QStringLiteral("[999]测试项目 - {价格}：0.10"), false, false},
        PickCase{"Placeholder", QString::fromUtf16(kReceiveFavouritesPlaceholder), false, false},
        PickCase{"Empty", QString(), false, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Each single copy puts its cell on the clipboard exactly, an empty one too.
TEST_F(DisposalTest, SingleCopiesPutTheSelectedCellOnTheClipboard) {
    FillThree();
    Select(1);
    MenuItem(&NumberListMenu::copyPhone);
    EXPECT_EQ(ClipboardText(), QStringLiteral("13800000002"));
    MenuItem(&NumberListMenu::copyCode);
    EXPECT_EQ(ClipboardText(), QStringLiteral("482913"));
    MenuItem(&NumberListMenu::copySmsText);
    EXPECT_EQ(ClipboardText(), QStringLiteral("【测试】验证码482913"));

    Select(2);
    MenuItem(&NumberListMenu::copyCode);
    EXPECT_EQ(ClipboardText(), QString()) << "an empty code is copied as it stands";
}

TEST_F(DisposalTest, CopyAllPutsEveryNumberWithCrLfAndAnEmptyListLeavesTheClipboard) {
    SetClipboardText(QStringLiteral("旧内容"));
    MenuItem(&NumberListMenu::copyAllPhones);
    EXPECT_EQ(ClipboardText(), QStringLiteral("旧内容"));

    FillThree();
    list_->Append(QString(), QStringLiteral("2026年1月1日10时"), QStringLiteral("1001"));
    MenuItem(&NumberListMenu::copyAllPhones);
    EXPECT_EQ(ClipboardText(), QStringLiteral("13800000001\r\n13800000002\r\n13800000003\r\n"));
}

// A real double click: the code when the row has one, else the number.
TEST_F(DisposalTest, DoubleClickCopiesTheCodeOrElseTheNumber) {
    FillThree();
    const auto doubleClick = [this](int position) {
        const QRect rect = View()->visualItemRect(View()->topLevelItem(position));
        // The first click of the pair: QTest's double click is the second press alone.
        QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(View()->viewport(), Qt::LeftButton, {}, rect.center());
    };
    doubleClick(1);
    EXPECT_EQ(ClipboardText(), QStringLiteral("482913"));
    doubleClick(2);
    EXPECT_EQ(ClipboardText(), QStringLiteral("13800000003"));
}

// Without a selection the copies copy an empty text; a release asks, goes out with empty
// values and deletes nothing; "再次使用号码" sends nothing.
TEST_F(DisposalTest, WithoutASelectionCopiesAreEmptyAndAReleaseDeletesNothing) {
    FillThree();
    View()->setCurrentItem(nullptr);
    View()->clearSelection();
    for (QAction* NumberListMenu::*copy :
         {&NumberListMenu::copyPhone, &NumberListMenu::copyCode, &NumberListMenu::copySmsText}) {
        SetClipboardText(QStringLiteral("旧内容"));
        MenuItem(copy);
        EXPECT_EQ(ClipboardText(), QString())
            << (window_->menus().numberList.*copy)->text().toStdString();
    }
    SetClipboardText(QStringLiteral("旧内容"));
    window_->disposal().CopyCodeOrPhone();
    EXPECT_EQ(ClipboardText(), QString());

    MenuItem(&NumberListMenu::useAgain);
    EXPECT_TRUE(sim_->Requests().empty());

    sim_->Script("yh_sf", Reply(200, platformsim::Gbk("0|号码不存在")));
    MenuItem(&NumberListMenu::release);
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList({"释放号码"}));
    EXPECT_EQ(Targets(), QStringList({"/yh_sf/…&id=&phone="}));
    EXPECT_EQ(Phones(), QStringList({"13800000001", "13800000002", "13800000003"}));
}

// A finished row waits again: the picker's project (not the row's) goes out, the number the
// platform gave, "没有收到短信" and a new time; code and SMS stay until a new one comes.
TEST_F(DisposalTest, UseAgainTurnsAFinishedRowIntoAWaitingOne) {
    FillThree();
    const NumberRow before = list_->Row(1);
    list_->Write(before.identity, {{NumberList::kStatus, QStringLiteral("已停止获取原因:超时")}});
    Pick(QStringLiteral("[1005]另一个项目 - {价格}：0.20"));
    Select(1);
    sim_->Script("yh_qh", Reply(200, "1|13800000022"));
    const QDateTime asked = CurrentClock().Now().addSecs(-1);

    MenuItem(&NumberListMenu::useAgain);

    EXPECT_EQ(Targets(), QStringList({"/yh_qh/…&id=1005&phone=13800000002"}));
    EXPECT_EQ(sim_->Requests().at(0).line, "numberLine");
    const NumberRow after = list_->Row(1);
    EXPECT_EQ(after.phone, QStringLiteral("13800000022"));
    EXPECT_EQ(after.status, QStringLiteral("没有收到短信"));
    EXPECT_EQ(after.code, QStringLiteral("482913"));
    EXPECT_EQ(after.smsText, QStringLiteral("【测试】验证码482913"));
    EXPECT_EQ(after.projectId, QStringLiteral("1002"));
    EXPECT_EQ(after.sequence, before.sequence);
    const QDateTime obtained = ReadDateTimeText(after.obtainedAt);
    ASSERT_TRUE(obtained.isValid()) << after.obtainedAt.toStdString();
    EXPECT_GE(obtained, asked);
    EXPECT_NE(after.identity, before.identity) << "a poll result for the old life is dropped";
    EXPECT_TRUE(window_->isEnabled());
    EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
}

struct RefusalCase {
    const char* name;
    platformsim::ScriptedReply reply;
    QStringList shown;
};

class UseAgainRefused : public DisposalTest, public ::testing::WithParamInterface<RefusalCase> {};

// A refusal shows the platform's text without any "0|"; no reply shows nothing; the row stays
// as it was and the window takes input again.
TEST_P(UseAgainRefused, LeavesTheRowAsItWas) {
    const RefusalCase& c = GetParam();
    FillThree();
    Select(1);
    const NumberRow before = list_->Row(1);
    sim_->Script("yh_qh", c.reply);
    bool enabledUnderMessage = false;
    fakes_.messageBoxes.onShow = [&](const Message&) {
        enabledUnderMessage = window_->isEnabled();
    };

    MenuItem(&NumberListMenu::useAgain);

    const NumberRow after = list_->Row(1);
    EXPECT_EQ(QStringList({after.phone, after.status, after.code, after.obtainedAt}),
              QStringList({before.phone, before.status, before.code, before.obtainedAt}));
    EXPECT_EQ(after.identity, before.identity);
    EXPECT_EQ(fakes_.messageBoxes.Texts(), c.shown);
    EXPECT_FALSE(enabledUnderMessage) << "the window takes no input until the handler ends";
    EXPECT_TRUE(window_->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, UseAgainRefused,
    ::testing::Values(RefusalCase{"Refused",
                                  Reply(200, platformsim::Gbk("0|该号码已被占用0|请稍后")),
                                  {QStringLiteral("该号码已被占用请稍后")}},
                      RefusalCase{"Empty", Reply(200, ""), {}},
                      RefusalCase{"Dropped", Reply(200, "", {}, 0, true), {}},
                      // A success without a number is no number: shown, not written into the row.
                      RefusalCase{
                          "SuccessWithoutNumber", Reply(200, "1|"), {QStringLiteral("1|")}}),
    [](const auto& info) { return std::string(info.param.name); });

// With the platform unreachable every request fails at once: the list is emptied all the same,
// the window paints meanwhile, and a close that arrives during the run waits for its end.
TEST_F(DisposalTest, GivingBackAllWhileThePlatformIsDownStillEmptiesTheList) {
    FillThree();
    PointDisposalAtAStoppedPlatform();

    int paints = 0;
    QWidget* viewport = View()->viewport();
    struct PaintCounter : QObject {
        int* count;
        explicit PaintCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override {
            *count += event->type() == QEvent::Paint;
            return false;
        }
    } counter(&paints);
    viewport->installEventFilter(&counter);
    bool closeAsked = false;
    const Probe probe([&] {
        if (window_ && Child<QLabel>("透明标签_取号_状态提示")->text() == kReleasing) {
            viewport->update();
            if (!closeAsked && paints > 0) {
                closeAsked = true;
                window_->deleteLater();  // as the close box does
            }
        }
    });

    Child<QPushButton>("按钮_取号全部释放")->click();

    EXPECT_TRUE(sim_->Requests().empty());
    EXPECT_GT(paints, 0) << "the list painted while the numbers went back";
    ASSERT_TRUE(closeAsked);
    ASSERT_FALSE(window_.isNull()) << "deleted under the running handler";
    EXPECT_EQ(list_->RowCount(), 0);
    EXPECT_TRUE(AcquisitionButtonsEnabled(true));
    viewport->removeEventFilter(&counter);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window_.isNull()) << "the close is carried out after the handler";
}

// A single release with the platform down still deletes the row.
TEST_F(DisposalTest, ASingleReleaseWhileThePlatformIsDownStillDeletesTheRow) {
    FillThree();
    PointDisposalAtAStoppedPlatform();
    Select(0);

    MenuItem(&NumberListMenu::blacklist);

    EXPECT_EQ(Phones(), QStringList({"13800000002", "13800000003"}));
}

// While a batch holds the four buttons, the list cannot be given back as a whole; the menu's
// single actions still work.
TEST_F(DisposalTest, WhileABatchHoldsTheButtonsOnlyTheMenuGivesBack) {
    FillThree();
    for (const char* name : kAcquisitionButtons) {
        Child<QPushButton>(name)->setEnabled(false);  // as a running batch leaves them
    }
    sim_->Script("yh_sf", Reply(200, platformsim::Gbk("1|成功")));
    QTest::mouseClick(Child<QPushButton>("按钮_取号全部释放"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>("按钮_取号_全部加黑"), Qt::LeftButton);
    EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
    EXPECT_TRUE(sim_->Requests().empty());

    Select(2);
    MenuItem(&NumberListMenu::release);
    EXPECT_EQ(Phones(), QStringList({"13800000001", "13800000002"}));
    EXPECT_TRUE(AcquisitionButtonsEnabled(false)) << "the batch's buttons stay as it left them";
}

// A poller-like writer on its own thread reads the rows by position, then writes its results
// by identity after a row in the middle was released and another used again: every result
// lands on its own number or nowhere.
TEST_F(DisposalTest, ResultsReadBeforeADeletionOrAUseAgainLandOnTheirOwnRowsOnly) {
    for (const char* phone : {"13800000001", "13800000002", "13800000003", "13800000004"}) {
        list_->Append(QString::fromUtf8(phone), QStringLiteral("2026年1月1日10时"),
                      QStringLiteral("1001"));
    }
    sim_->Script("yh_sf", Reply(200, platformsim::Gbk("1|成功")));
    sim_->Script("yh_qh", Reply(200, "1|13800000044"));
    std::atomic<bool> read{false};
    std::atomic<bool> written{false};
    std::promise<void> changed;
    NumberList& shared = *list_;
    std::thread writer([&, changedLater = changed.get_future()] {
        std::vector<NumberRow> rows;
        for (int position = 0; position < shared.RowCount(); ++position) {
            rows.push_back(shared.Row(position));
        }
        read = true;
        changedLater.wait_for(std::chrono::seconds(60));
        for (const NumberRow& row : rows) {
            shared.Write(row.identity, {{NumberList::kStatus, "短信到达 " + row.phone},
                                        {NumberList::kCode, row.phone.right(4)}});
        }
        written = true;
    });
    const bool wasRead = QTest::qWaitFor([&] { return read.load(); }, 60000);
    Select(1);
    MenuItem(&NumberListMenu::release);  // 13800000002
    Select(2);
    MenuItem(&NumberListMenu::useAgain);  // 13800000004, now third
    changed.set_value();
    const bool wasWritten = QTest::qWaitFor([&] { return written.load(); }, 60000);
    writer.join();
    ASSERT_TRUE(wasRead && wasWritten);

    ASSERT_EQ(list_->RowCount(), 3);
    const auto cells = [this](int position) {
        const NumberRow row = list_->Row(position);
        return QStringList({row.phone, row.status, row.code});
    };
    EXPECT_EQ(cells(0), QStringList({"13800000001", "短信到达 13800000001", "0001"}));
    EXPECT_EQ(cells(1), QStringList({"13800000003", "短信到达 13800000003", "0003"}));
    EXPECT_EQ(cells(2), QStringList({"13800000044", "没有收到短信", ""}));
}

// While "释放号码" walks a list of sixteen, the menu gives back single rows (the last one too),
// a row is used again, or the list is emptied: every number listed goes back once, by its own
// row, none with empty values, and the list ends empty.
TEST_F(DisposalTest, GivingBackAllWhileRowsChangeSendsEachListedNumberOnce) {
    enum class Meanwhile { MenuReleases, UseAgain, ListEmptied };
    struct Case {
        const char* name;
        Meanwhile meanwhile;
    };
    for (const Case& c :
         {Case{"menu releases", Meanwhile::MenuReleases}, Case{"used again", Meanwhile::UseAgain},
          Case{"list emptied", Meanwhile::ListEmptied}}) {
        SCOPED_TRACE(c.name);
        sim_->ClearRequests();
        fakes_.messageBoxes.shown.clear();
        QStringList listed;
        for (int i = 1; i <= 16; ++i) {
            listed << QStringLiteral("138000001%1").arg(i, 2, 10, QLatin1Char('0'));
            list_->Append(listed.back(), QStringLiteral("2026年1月1日10时"),
                          QString::number(1000 + i));
        }
        sim_->Script("yh_sf", Reply(200, platformsim::Gbk("1|成功")));
        sim_->Script("yh_qh", Reply(200, "1|13800000106"));
        int step = 0;
        const Probe probe([&] {
            const size_t sent = sim_->Requests().size();
            if (step == 0 && sent >= 3) {
                step = 1;
                switch (c.meanwhile) {
                    case Meanwhile::ListEmptied:
                        list_->Clear();
                        return;
                    case Meanwhile::UseAgain:
                        Select(5);
                        MenuItem(&NumberListMenu::useAgain);
                        return;
                    case Meanwhile::MenuReleases:
                        Select(5);
                        MenuItem(&NumberListMenu::release);
                        return;
                }
            } else if (step == 1 && c.meanwhile == Meanwhile::MenuReleases && sent >= 9) {
                step = 2;
                Select(list_->RowCount() - 1);
                MenuItem(&NumberListMenu::release);
            }
        });

        Child<QPushButton>("按钮_取号全部释放")->click();

        ASSERT_EQ(step, c.meanwhile == Meanwhile::MenuReleases ? 2 : 1);
        std::map<QString, int> sends;
        for (const QString& target : Targets().filter(QRegularExpression("^/yh_sf/"))) {
            EXPECT_FALSE(target.contains(QStringLiteral("&id=&")) ||
                         target.endsWith(QStringLiteral("&phone=")))
                << target.toStdString();
            const QString phone = target.section(QStringLiteral("&phone="), 1);
            const QString id = target.section(QStringLiteral("&id="), 1).section(u'&', 0, 0);
            EXPECT_EQ(id, QString::number(1000 + listed.indexOf(phone) + 1)) << phone.toStdString();
            ++sends[phone];
        }
        for (const QString& phone : listed) {
            // Emptied by another hand, the rest is not asked for.
            const bool emptied = c.meanwhile == Meanwhile::ListEmptied && !sends.count(phone);
            EXPECT_EQ(sends[phone], emptied ? 0 : 1) << phone.toStdString();
        }
        EXPECT_EQ(list_->RowCount(), 0);
        EXPECT_EQ(Child<QLabel>("透明标签_取号_状态提示")->text(), QString());
        EXPECT_TRUE(AcquisitionButtonsEnabled(true));
    }
}

}  // namespace
}  // namespace lanxun
