#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <mutex>
#include <set>

#include "records/balance_refresher.h"
#include "records_fixture.h"
#include "support/sim_reply.h"
#include "ui/main_window.h"
#include "ui/menus.h"
#include "ui/status_bar.h"

namespace lanxun {
namespace {

using test::Reply;

// A fast clock that notes every pause asked of it.
class NotingClock : public test::FastClock {
public:
    NotingClock() : FastClock(50) {}
    qint64 RealMs(qint64 ms) const override {
        std::lock_guard lock(mutex_);
        pauses_.push_back(ms);
        return FastClock::RealMs(ms);
    }
    std::vector<qint64> Pauses() const {
        std::lock_guard lock(mutex_);
        return pauses_;
    }

private:
    mutable std::mutex mutex_;
    mutable std::vector<qint64> pauses_;
};

class BalanceRefresherTest : public test::RecordsTest {
protected:
    static int BalanceRequests() {
        int count = 0;
        for (const platformsim::RecordedRequest& r : sim_->Requests()) {
            count += r.target.rfind("/yh_gx/", 0) == 0 ? 1 : 0;
        }
        return count;
    }

    NotingClock noting_;
    test::ScopedClock useNoting_{noting_};
};

// yh_gx, then a pause of 7 to 19 seconds, again and again; only the two status parts change.
TEST_F(BalanceRefresherTest, RefreshesTheStatusBarOnItsSchedule) {
    CurrentLogin().balance = QStringLiteral("1.00");
    CurrentLogin().withdrawable = QStringLiteral("2.00");
    QLabel balance(QStringLiteral("余额:1.00"));
    QLabel withdrawable(QStringLiteral("可提现:2.00"));
    BalanceRefresher refresher({.balancePart = &balance, .withdrawablePart = &withdrawable});
    refresher.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return BalanceRequests() >= 4; }, 30000));
    EXPECT_EQ(balance.text(), "余额:88.50");
    EXPECT_EQ(withdrawable.text(), "可提现:12.00");

    // Replies that are not two fields change nothing; text in place of numbers is shown as sent.
    for (const char* reply : {"", "77.00", "abc"}) {
        sim_->Script("yh_gx", Reply(200, reply));
        const int before = BalanceRequests();
        ASSERT_TRUE(QTest::qWaitFor([&] { return BalanceRequests() >= before + 2; }, 30000));
        EXPECT_EQ(balance.text(), "余额:88.50") << reply;
    }
    sim_->Script("yh_gx", Reply(200, Gbk("未知|无")));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return balance.text() == "余额:未知" && withdrawable.text() == "可提现:无"; },
        30000));
    refresher.Stop();

    const std::vector<qint64> pauses = noting_.Pauses();
    EXPECT_GE(pauses.size(), 8u);
    std::set<qint64> distinct;
    for (qint64 ms : pauses) {
        EXPECT_GE(ms, 7000);
        EXPECT_LE(ms, 19000);
        distinct.insert(ms);
    }
    EXPECT_GT(distinct.size(), 1u) << "the pauses are drawn at random";
    EXPECT_EQ(BalanceRequests(), static_cast<int>(pauses.size()))
        << "one request before every pause";
    EXPECT_EQ(CurrentLogin().balance, "1.00") << "the login keeps its figures";
    EXPECT_EQ(CurrentLogin().withdrawable, "2.00");
    EXPECT_EQ(sim_->Requests().at(0).line, "dockingLine");
}

// The main window with its routines: a withdrawal and a recharge by order number show in the
// status bar at the next refresh; an accepted withdrawal reloads the withdrawal records without
// leaving the page shown and closes its window.
class FundsWindowTest : public test::RecordsTest {
protected:
    void SetUp() override {
        RecordsTest::SetUp();
        window_ = new MainWindow(QPointer<QWidget>());
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
    }
    void TearDown() override { delete window_.data(); }

    QString StatusText(int part) {
        return StatusPart(RecordsTest::Child<QStatusBar>(window_, "状态条1"), part)->text();
    }
    bool StatusShows(const char* balance, const char* withdrawable) {
        return QTest::qWaitFor(
            [&] {
                return StatusText(1) == QString::fromUtf8(balance) &&
                       StatusText(2) == QString::fromUtf8(withdrawable);
            },
            30000);
    }
    // Opens "澄信开发着提现" from the menu and confirms `amount`; true when the window closed.
    bool Withdraw(const char* amount) {
        bool closed = false;
        fakes_.modals.onOpen = [&](QWidget* window) {
            window->show();
            RecordsTest::Child<QLineEdit>(window, "编辑框4")->setText(QString::fromUtf8(amount));
            RecordsTest::Child<QPushButton>(window, "按钮5")->click();
            closed = window->isHidden();
        };
        window_->menus().funds.withdraw->trigger();
        return closed;
    }

    QPointer<MainWindow> window_;
};

TEST_F(FundsWindowTest, WithdrawalAndRechargeShowAtTheNextRefresh) {
    ASSERT_TRUE(StatusShows("余额:88.50", "可提现:12.00"));
    RecordsTest::Child<QTabWidget>(window_, "高级选择夹1")->setCurrentIndex(3);

    // More than the withdrawable amount: the platform refuses, the window stays open.
    sim_->ClearRequests();
    EXPECT_FALSE(Withdraw("50"));
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{"可提现金额不足，当前可提现12.00元"});
    EXPECT_FALSE(Targets().contains("/tx_mx/…"));

    fakes_.messageBoxes.shown.clear();
    EXPECT_TRUE(Withdraw("12"));
    EXPECT_EQ(fakes_.messageBoxes.Texts(), QStringList{"提现申请已提交，处理中，当天到账"});
    EXPECT_TRUE(Targets().contains("/tx_mx/…"));
    EXPECT_EQ(RecordsTest::Child<QTabWidget>(window_, "高级选择夹1")->currentIndex(), 3);
    QTreeWidget* withdrawals = RecordsTest::Child<QTreeWidget>(window_, "超级列表框_提现明细");
    ASSERT_EQ(withdrawals->topLevelItemCount(), 4);
    EXPECT_EQ(withdrawals->topLevelItem(0)->text(3), "12.00");
    EXPECT_EQ(withdrawals->topLevelItem(0)->text(5), "处理中");
    EXPECT_TRUE(StatusShows("余额:76.50", "可提现:0.00"));

    fakes_.modals.onOpen = [&](QWidget* window) {
        RecordsTest::Child<QLineEdit>(window, "编辑框_支付宝订单")
            ->setText(QStringLiteral("20261210200040011100165218110050"));
        RecordsTest::Child<QPushButton>(window, "按钮_支付宝充值")->click();
    };
    RecordsTest::Child<QPushButton>(window_, "超级按钮_启动服务1")->click();
    EXPECT_TRUE(StatusShows("余额:126.50", "可提现:0.00"));
    EXPECT_EQ(CurrentLogin().balance, "88.50");
}

// The withdrawal window goes (its close box) while the request waits: the reply is shown on
// no window, whatever it was.
TEST_F(FundsWindowTest, AWithdrawalWhoseWindowWentWhileItWaitedShowsNothing) {
    platformsim::PlatformSim holding;
    ASSERT_TRUE(holding.Start());
    holding.Script("tj", {.body = Gbk("0|可提现金额不足"), .delayMs = 60000});
    ServerLines lines = test::SimLines(*sim_);
    lines.withdrawLine = QString::fromStdString(holding.Address(platformsim::Line::Withdraw));
    SetLines(lines);
    bool closed = false;
    QTimer probe;
    fakes_.modals.onOpen = [&](QWidget* window) {
        window->show();
        QObject::connect(&probe, &QTimer::timeout, window, [&, window] {
            if (!closed && !holding.Requests().empty()) {
                closed = true;
                window->deleteLater();  // as the close box does
                holding.Stop();         // the reply never comes
            }
        });
        probe.start(0);
        RecordsTest::Child<QLineEdit>(window, "编辑框4")->setText(QStringLiteral("12"));
        RecordsTest::Child<QPushButton>(window, "按钮5")->click();
    };

    window_->menus().funds.withdraw->trigger();

    ASSERT_TRUE(closed);
    EXPECT_EQ(holding.Requests().size(), 1u);
    EXPECT_TRUE(fakes_.messageBoxes.shown.empty())
        << fakes_.messageBoxes.Texts().join(u'|').toStdString();
}

}  // namespace
}  // namespace lanxun
