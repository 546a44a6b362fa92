#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <mutex>

#include "account/login_state.h"
#include "lanxun/build_config.h"
#include "numbers/loop_mode.h"
#include "platform/worker.h"
#include "support/fake_services.h"
#include "support/find_child.h"
#include "ui/cursors.h"
#include "ui/docking_help_window.h"
#include "ui/main_window.h"
#include "ui/menus.h"
#include "ui/status_bar.h"

namespace lanxun {
namespace {

// Remembers the order in which routines were created and started.
struct WorkerLog {
    std::mutex mutex;
    QStringList created;
    QStringList ran;
};

class LoggingWorker : public Worker {
public:
    LoggingWorker(WorkerLog& log, QString name) : log_(log), name_(std::move(name)) {}
    ~LoggingWorker() override { Stop(); }

protected:
    void Run() override {
        {
            std::lock_guard lock(log_.mutex);
            log_.ran << name_;
        }
        while (Pause(60 * 1000)) {
        }
    }

private:
    WorkerLog& log_;
    QString name_;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        LoginState& login = CurrentLogin();
        login.userName = QStringLiteral("张三");
        login.balance = QStringLiteral("12.50");
        login.withdrawable = QStringLiteral("3.00");
        login.serviceQq = QStringLiteral("800123");

        login_ = new QWidget;  // hidden, as after the announcement
        std::vector<WorkerFactory> factories;
        for (const char* name : {"PollWorker", "SendResultPoller", "BalanceRefresh"}) {
            factories.push_back([this, name](MainWindow&) -> std::unique_ptr<Worker> {
                log_.created << QString::fromUtf8(name);
                return std::make_unique<LoggingWorker>(log_, QString::fromUtf8(name));
            });
        }
        window_ = new MainWindow(QPointer<QWidget>(login_), std::move(factories));
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void TearDown() override {
        delete window_.data();
        delete login_.data();
        CurrentLogin() = LoginState{};
    }

    QWidget* Focused() const { return QApplication::focusWidget(); }
    void DeleteDeferred() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    test::FakeServices fakes_;
    WorkerLog log_;
    QPointer<QWidget> login_;
    QPointer<MainWindow> window_;
};

using test::Child;

// As the window definitions word it: "默认" followed by these 33 entries, in this order.
QStringList ExpectedRegionItems() {
    const QString described = QStringLiteral(
        "北京, 上海, 天津, 山东, 福建, 安徽, 宁夏, 湖北, 河北, 辽宁, 湖南, 四川, 山西, 陕西, "
        "江苏, 内蒙, 辽宁, 吉林, 甘肃, 江西, 河南, 云南, 广西, 重庆, 西藏, 海南, 广东, 浙江, "
        "贵州, 黑龙江, 新疆, 澳门, 香港");
    return QStringList{QStringLiteral("默认")} + described.split(QStringLiteral(", "));
}

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

QStringList StatusTexts(QStatusBar* bar) {
    QStringList texts;
    for (int i = 0; QLabel* part = StatusPart(bar, i); ++i) {
        texts << part->text();
    }
    return texts;
}

TEST_F(MainWindowTest, FirstActivationPreparesTheWindow) {
    EXPECT_TRUE(window_->FirstActivationDone());
    EXPECT_TRUE(login_.isNull()) << "the login window is destroyed";
    EXPECT_EQ(StatusTexts(Child<QStatusBar>(window_, "状态条1")),
              (QStringList{"用户:张三", "余额:12.50", "可提现:3.00", "版本:6.6", "客服QQ:800123"}));
    for (QComboBox* regions :
         {Child<QComboBox>(window_, "组合框_地区"), Child<QComboBox>(window_, "组合框_地区1")}) {
        EXPECT_EQ(Items(regions), ExpectedRegionItems()) << regions->objectName().toStdString();
        EXPECT_EQ(regions->count(), 34);
        EXPECT_EQ(regions->currentIndex(), 0);
        EXPECT_EQ(regions->currentText(), QStringLiteral("默认"));
    }
    EXPECT_EQ(GetLoopMode(), QStringLiteral("1"));
    EXPECT_EQ(SendLoopMode(), QString()) << "the send side is not set at activation";
    EXPECT_EQ(Focused(), Child<QPushButton>(window_, "超级按钮_收短信"));
    EXPECT_FALSE(Child<QTabWidget>(window_, "高级选择夹1")->tabBar()->isVisible());
    EXPECT_EQ(Child<QTabWidget>(window_, "高级选择夹1")->currentIndex(), kNumbersPage);
    EXPECT_EQ(log_.created, (QStringList{"PollWorker", "SendResultPoller", "BalanceRefresh"}));
}

TEST_F(MainWindowTest, StartedRoutinesRunUntilTheWindowGoes) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        std::lock_guard lock(log_.mutex);
        if (log_.ran.size() == 3) {
            break;
        }
    }
    {
        std::lock_guard lock(log_.mutex);
        EXPECT_EQ(log_.ran.size(), 3);
    }
    timer.restart();
    delete window_.data();  // each routine sits in a minute-long pause
    EXPECT_LT(timer.elapsed(), 10000);
}

TEST_F(MainWindowTest, SecondActivationDoesNotRepeatTheSequence) {
    Child<QComboBox>(window_, "组合框_地区")->setCurrentIndex(5);
    StatusPart(Child<QStatusBar>(window_, "状态条1"), 1)->setText(QStringLiteral("余额:99"));
    SetGetLoopMode(QStringLiteral("2"));

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_));

    EXPECT_EQ(Child<QComboBox>(window_, "组合框_地区")->count(), 34);
    EXPECT_EQ(Child<QComboBox>(window_, "组合框_地区")->currentIndex(), 5);
    EXPECT_EQ(StatusPart(Child<QStatusBar>(window_, "状态条1"), 1)->text(),
              QStringLiteral("余额:99"));
    EXPECT_EQ(GetLoopMode(), QStringLiteral("2"));
    EXPECT_EQ(log_.created.size(), 3);
}

TEST_F(MainWindowTest, EscAsksAndCancelKeepsTheWindow) {
    fakes_.messageBoxes.defaultAnswer = false;
    QTest::keyClick(window_, Qt::Key_Escape);
    DeleteDeferred();
    ASSERT_EQ(fakes_.messageBoxes.shown.size(), 1u);
    const Message& asked = fakes_.messageBoxes.shown.front();
    EXPECT_EQ(asked.text, QStringLiteral("退出用户端"));
    EXPECT_EQ(asked.title, QStringLiteral("信息："));
    EXPECT_EQ(asked.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(asked.icon, MessageIcon::None);
    EXPECT_FALSE(window_.isNull());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(fakes_.processExit.calls, 0);
}

TEST_F(MainWindowTest, OkOnTheExitQuestionEndsTheOwnProcess) {
    fakes_.messageBoxes.defaultAnswer = true;
    QTest::keyClick(window_, Qt::Key_Escape);
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{QStringLiteral("退出用户端")});
    EXPECT_EQ(fakes_.processExit.calls, 1);
}

TEST_F(MainWindowTest, SystemCloseRequestAsksToo) {
    fakes_.messageBoxes.defaultAnswer = false;
    EXPECT_FALSE(window_->close());
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{QStringLiteral("退出用户端")});
}

TEST_F(MainWindowTest, CloseBoxDestroysWithoutAskingAndTheProgramEnds) {
    // The message loop ends by itself once the last window is gone.
    QTimer::singleShot(0, window_, [this] {
        QTest::mouseClick(Child<QLabel>(window_, "图片框3"), Qt::LeftButton);
    });
    QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(window_.isNull());
    EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
    EXPECT_EQ(fakes_.processExit.calls, 0);
}

TEST_F(MainWindowTest, CaptureBoxIsEnabledWithItsOwnPointer) {
    EXPECT_TRUE(Child<QLabel>(window_, "图片框_捕获鼠标")->isEnabled());
    EXPECT_EQ(Child<QLabel>(window_, "图片框_捕获鼠标")->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(Child<QLabel>(window_, "图片框_捕获鼠标")->cursor().hotSpot(),
              CapturePointerCursor().hotSpot());
}

// How a page is chosen, what is shown, what is asked for, where the focus goes.
struct PageCase {
    const char* name;
    std::function<void(MainWindow&)> choose;
    int page;
    void (PageNavigator::*request)();  // nullptr: nothing to load
    const char* focus;                 // nullptr: the focus stays
};

const PageCase kPageCases[] = {
    {"收短信", [](MainWindow& w) { Child<QPushButton>(&w, "超级按钮_收短信")->click(); },
     kNumbersPage, nullptr, "超级按钮_收短信"},
    {"发短信", [](MainWindow& w) { Child<QPushButton>(&w, "超级按钮_发短信")->click(); },
     kSendSmsPage, nullptr, "超级按钮_发短信"},
    {"项目列表", [](MainWindow& w) { Child<QPushButton>(&w, "超级按钮_项目列表")->click(); },
     kProjectListPage, &PageNavigator::ProjectListRequested, "超级按钮_项目列表"},
    {"专属对接", [](MainWindow& w) { Child<QPushButton>(&w, "超级按钮_专属对接")->click(); },
     kDockingPage, &PageNavigator::DockingListRequested, "超级按钮_专属对接"},
    {"公开专属", [](MainWindow& w) { Child<QPushButton>(&w, "超级按钮_公开对接")->click(); },
     kPublicDockingPage, &PageNavigator::PublicDockingRequested, "超级按钮_公开对接"},
    {"提现记录", [](MainWindow& w) { w.menus().funds.withdrawalRecords->trigger(); },
     kWithdrawalRecordsPage, &PageNavigator::WithdrawalRecordsRequested, "超级按钮_启动服务5"},
    {"充值记录", [](MainWindow& w) { w.menus().funds.rechargeRecords->trigger(); },
     kRechargeRecordsPage, &PageNavigator::RechargeRecordsRequested, nullptr},
    {"短信记录", [](MainWindow& w) { w.menus().funds.smsRecords->trigger(); }, kSmsRecordsPage,
     &PageNavigator::SmsRecordsRequested, "超级按钮_启动服务5"},
    {"推荐人奖励明细", [](MainWindow& w) { w.menus().funds.referralRecords->trigger(); },
     kReferralRecordsPage, &PageNavigator::ReferralRecordsRequested, "超级按钮_启动服务5"},
};

TEST_F(MainWindowTest, PagesAreSelectedWithTheirFocusRules) {
    const std::vector<void (PageNavigator::*)()> requests = {
        &PageNavigator::ProjectListRequested,     &PageNavigator::DockingListRequested,
        &PageNavigator::PublicDockingRequested,   &PageNavigator::WithdrawalRecordsRequested,
        &PageNavigator::RechargeRecordsRequested, &PageNavigator::SmsRecordsRequested,
        &PageNavigator::ReferralRecordsRequested};
    for (const PageCase& c : kPageCases) {
        SCOPED_TRACE(c.name);
        // Start elsewhere: another page, the focus on a control none of the cases uses.
        window_->navigator().Select(kEmptyPage);
        Child<QLineEdit>(window_, "编辑框_取号_获取数量")->setFocus();
        ASSERT_EQ(Focused(), Child<QLineEdit>(window_, "编辑框_取号_获取数量"));

        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (auto request : requests) {
            spies.push_back(std::make_unique<QSignalSpy>(&window_->navigator(), request));
        }
        // What is focused when the load is asked for: the focus moves only afterwards.
        QWidget* focusAtRequest = nullptr;
        int pageAtRequest = -1;
        QMetaObject::Connection probe;
        if (c.request) {
            probe = QObject::connect(&window_->navigator(), c.request, window_.data(), [&] {
                focusAtRequest = Focused();
                pageAtRequest = Child<QTabWidget>(window_, "高级选择夹1")->currentIndex();
            });
        }

        c.choose(*window_);

        EXPECT_EQ(Child<QTabWidget>(window_, "高级选择夹1")->currentIndex(), c.page);
        QWidget* expectedFocus = c.focus ? Child<QWidget>(window_, c.focus)
                                         : Child<QLineEdit>(window_, "编辑框_取号_获取数量");
        EXPECT_EQ(Focused(), expectedFocus);
        for (size_t i = 0; i < requests.size(); ++i) {
            EXPECT_EQ(spies[i]->count(), requests[i] == c.request ? 1 : 0) << "signal " << i;
        }
        if (c.request) {
            EXPECT_EQ(pageAtRequest, c.page);
            EXPECT_EQ(focusAtRequest, Child<QLineEdit>(window_, "编辑框_取号_获取数量"));
            QObject::disconnect(probe);
        }
        EXPECT_TRUE(fakes_.messageBoxes.shown.empty());
        EXPECT_TRUE(fakes_.modals.titles.isEmpty());
    }
}

struct ModalCase {
    const char* name;
    std::function<void(MainWindow&)> open;
    const char* title;
};

const ModalCase kModalCases[] = {
    {"在线充值", [](MainWindow& w) { Child<QPushButton>(&w, "超级按钮_启动服务1")->click(); },
     "支付宝充值"},
    {"对接帮助", [](MainWindow& w) { Child<QPushButton>(&w, "按钮3")->click(); }, "对接帮助"},
    {"提现", [](MainWindow& w) { w.menus().funds.withdraw->trigger(); }, "澄信开发着提现"},
    {"修改密码", [](MainWindow& w) { w.menus().securityCentre.changePassword->trigger(); },
     "修改密码"},
    {"个人信息", [](MainWindow& w) { w.menus().securityCentre.personalInfo->trigger(); },
     "个人信息"},
    {"安全设置", [](MainWindow& w) { w.menus().securityCentre.securitySettings->trigger(); },
     "安全设置"},
};

TEST_F(MainWindowTest, ModalWindowsOpenThroughTheOpener) {
    for (const ModalCase& c : kModalCases) {
        SCOPED_TRACE(c.name);
        fakes_.modals.titles.clear();
        const int page = Child<QTabWidget>(window_, "高级选择夹1")->currentIndex();
        c.open(*window_);
        EXPECT_EQ(fakes_.modals.titles, QStringList{QString::fromUtf8(c.title)});
        EXPECT_EQ(Child<QTabWidget>(window_, "高级选择夹1")->currentIndex(), page);
    }
}

TEST_F(MainWindowTest, MenuButtonsPopUpTheirMenus) {
    const struct {
        QPushButton* button;
        QMenu* menu;
    } cases[] = {
        {Child<QPushButton>(window_, "超级按钮_启动服务5"), window_->menus().funds.menu},
        {Child<QPushButton>(window_, "超级按钮_安全中心"), window_->menus().securityCentre.menu}};
    for (const auto& c : cases) {
        QMenu* menu = c.menu;
        SCOPED_TRACE(menu->title().toStdString());
        c.button->click();
        EXPECT_TRUE(menu->isVisible());
        menu->hide();
    }
}

TEST_F(MainWindowTest, CustomerServiceOpensTheChatLink) {
    Child<QPushButton>(window_, "超级按钮_启动服务7")->click();
    ASSERT_EQ(fakes_.shell.opened.size(), 1u);
    EXPECT_EQ(fakes_.shell.opened.front().toString(),
              QStringLiteral("tencent://message/?uin=800123&Site=&Menu=yes"));
}

TEST_F(MainWindowTest, ForumLabelOpensTheForumOnRelease) {
    QTest::mousePress(Child<QLabel>(window_, "透明标签5"), Qt::LeftButton);
    EXPECT_TRUE(fakes_.shell.opened.empty());
    QTest::mouseRelease(Child<QLabel>(window_, "透明标签5"), Qt::LeftButton);
    ASSERT_EQ(fakes_.shell.opened.size(), 1u);
    EXPECT_EQ(fakes_.shell.opened.front(), QUrl(QString::fromUtf8(build::kForumUrl)));
}

QWidget* TopLevel(const QString& title) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->windowTitle() == title && w->isVisible()) {
            return w;
        }
    }
    return nullptr;
}

TEST_F(MainWindowTest, DeveloperApiWindowIsNonModalAndOutlivesTheMainWindow) {
    Child<QPushButton>(window_, "超级按钮_开发者说明")->click();
    QPointer<QWidget> api = TopLevel(QStringLiteral("岚讯API对接"));
    ASSERT_FALSE(api.isNull());
    EXPECT_TRUE(fakes_.modals.titles.isEmpty());
    EXPECT_FALSE(api->isModal());
    const QString text = api->findChild<QPlainTextEdit*>(QStringLiteral("编辑框1"))->toPlainText();
    qsizetype at = 0;
    for (const char* section : {"用户登陆", "查询余额", "获取手机号码", "获取验证码", "发短信上传",
                                "加黑手机号", "释放手机号"}) {
        const qsizetype found = text.indexOf(QString::fromUtf8(section), at);
        EXPECT_GE(found, at) << section;
        at = std::max(at, found);
    }
    EXPECT_TRUE(text.contains(QStringLiteral("http://%1:8000/api/").arg(build::kPlatformHost)));

    // The API window keeps the message loop, and so the program, alive.
    QTimer::singleShot(0, window_, [this] {
        QTest::mouseClick(Child<QLabel>(window_, "图片框3"), Qt::LeftButton);
    });
    QTimer::singleShot(500, qApp, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(QApplication::exec(), 7);
    EXPECT_TRUE(window_.isNull());
    EXPECT_FALSE(api.isNull());
    delete api.data();
}

TEST(DockingHelpWindow, ShowsTheFourStepsAndCloses) {
    const QString expected = QStringLiteral(
        "\n\n"
        "   第一步：打开需要转发的QQ界面，将消息发送模式改成Enter发送。\n\n\n\n"
        "   "
        "第二步：鼠标移入光标图案处，一直按住鼠标左键，拖动鼠标至QQ窗口标题，松开鼠标左键。\n\n\n\n"
        "   第三步：当QQ界面标题正确出现在窗口标题，表示抓取成功。\n\n\n\n"
        "   第四步：选择整个或单个转码，启动运行即可。");
    EXPECT_EQ(DockingHelpText(),
              QString(expected).replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
    QPointer<DockingHelpWindow> window = new DockingHelpWindow;
    window->show();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("对接帮助"));
    EXPECT_EQ(window->findChild<QPlainTextEdit*>(QStringLiteral("编辑框1"))->toPlainText(),
              expected);
    window->findChild<QPushButton*>(QStringLiteral("按钮1"))->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

}  // namespace
}  // namespace lanxun
