#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <atomic>
#include <vector>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "numbers/home_region.h"
#include "numbers/number_list.h"
#include "numbers/numbers_page_controller.h"
#include "platform/clock.h"
#include "platform/gbk.h"
#include "support/fake_services.h"
#include "support/find_child.h"
#include "support/main_window_sim_test.h"
#include "support/sim_lines.h"
#include "support/sim_test.h"
#include "ui/main_window.h"

namespace lanxun::test {

// Delays run `factor` times fast while the date-time stays where the test puts it, so that a
// row's age is exact to the second however slow the machine is. The ticks that request
// time-outs count run at real speed.
class FrozenClock : public Clock {
public:
    explicit FrozenClock(qint64 factor) : factor_(factor) { elapsed_.start(); }

    QDateTime Now() const override { return QDateTime::fromMSecsSinceEpoch(nowMs_.load()); }
    qint64 Ticks() const override { return elapsed_.elapsed(); }
    qint64 RealMs(qint64 ms) const override { return ms / factor_; }

    void Set(const QDateTime& now) { nowMs_.store(now.toMSecsSinceEpoch()); }

private:
    qint64 factor_;
    QElapsedTimer elapsed_;
    std::atomic<qint64> nowMs_{
        QDateTime(QDate(2026, 12, 10), QTime(15, 30, 0)).toMSecsSinceEpoch()};
};

// The GBK bytes of a text, as the platform sends it.
inline std::string Gbk(const QString& text) {
    return ToGbk(text).toStdString();
}

// Waits, with events flowing, until the platform has received `count` requests.
inline bool WaitForRequests(const platformsim::PlatformSim& sim, size_t count) {
    return QTest::qWaitFor([&] { return sim.Requests().size() >= count; }, 30000);
}

inline const QString kDemoUser = QStringLiteral("username=demo2026&password=lanxun666");
inline const QString kProject1003 = QStringLiteral("[1003]抖音验证 - {价格}：0.40");
inline const QString kProject1002 = QStringLiteral("[1002]QQ登录 - {价格}：0.30");

// The main window, activated, against the local platform, without its background routines (a
// test starts the ones it means to watch). The receive picker holds two projects and the
// placeholder, the first selected.
class NumbersPageTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        UseSimAsDemoUser(*sim_);
        window_ = new MainWindow(QPointer<QWidget>(), std::vector<WorkerFactory>{});
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
        Picker()->addItems({kProject1003, kProject1002,
                            QStringLiteral("您未收藏[短信项目]，可通过关键字或项目ID进行搜索。")});
        Picker()->setCurrentIndex(0);
    }
    void TearDown() override { delete window_.data(); }

    QComboBox* Picker() { return Child<QComboBox>(window_, "组合框_取号_项目列表"); }
    NumbersPageController& Page() { return window_->numbers(); }
    NumberList& List() { return Page().List(); }
    template <typename T>
    T* Control(const char* name) {
        return Child<T>(window_, name);
    }

    // Types the count, clicks "获取号码" and waits for the batch to end.
    void RunBatch(const QString& count) {
        Control<QLineEdit>("编辑框_取号_获取数量")->setText(count);
        Control<QAbstractButton>("按钮_取号_获取号码")->click();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Page().BatchRunning(); }, 60000));
    }

    std::vector<NumberRow> Rows() {
        std::vector<NumberRow> rows;
        for (int i = 0; i < List().RowCount(); ++i) {
            rows.push_back(List().Row(i));
        }
        return rows;
    }

    // The request targets of one endpoint word, in order.
    static QStringList Targets(const QString& word) {
        return SimTargets(*sim_).filter(QRegularExpression(QStringLiteral("^/") + word + "/"));
    }
    // The target of a platform request: "/" + word + "/" + the user's prefix + pairs.
    static QString Target(const char* word, const QString& pairs) {
        return QStringLiteral("/") + QString::fromUtf8(word) + QLatin1Char('/') + kDemoUser + pairs;
    }

    FakeServices fakes_;
    FrozenClock clock_{100};
    ScopedClock useClock_{clock_};
    QPointer<MainWindow> window_;
};

}  // namespace lanxun::test
