#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>
#include <QThread>
#include <QWidget>
#include <functional>
#include <mutex>

#include "platform/busy_indication.h"
#include "platform/on_ui_thread.h"
#include "platform/worker.h"
#include "support/fake_services.h"

namespace lanxun {
namespace {

using test::FastClock;
using test::ScopedClock;

// What happened, in order, from both threads.
struct Log {
    std::mutex mutex;
    QStringList lines;
    void Add(const QString& line) {
        std::lock_guard lock(mutex);
        lines << line;
    }
    QStringList Lines() {
        std::lock_guard lock(mutex);
        return lines;
    }
};

// A fast clock that notes every delay asked of it.
class NotingClock : public FastClock {
public:
    explicit NotingClock(Log& log) : FastClock(1000), log_(log) {}
    qint64 RealMs(qint64 ms) const override {
        log_.Add(QStringLiteral("wait %1").arg(ms));
        return FastClock::RealMs(ms);
    }

private:
    Log& log_;
};

// A main window with one tab's progress bar, hidden as the forms have it.
class BusyIndicationTest : public ::testing::Test {
protected:
    void SetUp() override {
        bar_ = new QProgressBar(&window_);
        bar_->hide();
        window_.show();
        QObject::connect(bar_, &QProgressBar::valueChanged, [this](int value) {
            log_.Add(QStringLiteral("step %1, window %2, bar %3")
                         .arg(value)
                         .arg(window_.isEnabled() ? "enabled" : "disabled")
                         .arg(bar_->isVisible() ? "shown" : "hidden"));
        });
    }

    // A list handler: the indication, the request, then the rows unless the reply is unusable.
    void LoadList(bool replyUsable) {
        BusyIndication busy(&window_, bar_);
        RequestSent();
        if (!replyUsable) {
            return;
        }
        log_.Add(QStringLiteral("rows filled"));
    }
    void RequestSent() {
        log_.Add(
            QStringLiteral("request, window %1").arg(ReadWindowEnabled() ? "enabled" : "disabled"));
    }
    bool ReadWindowEnabled() {
        return ReadOnUiThread([&] { return window_.isEnabled(); });
    }

    static QStringList Expected(bool replyUsable) {
        QStringList lines;
        for (int step : {20, 40, 60, 80, 100}) {
            lines << QStringLiteral("step %1, window disabled, bar shown").arg(step)
                  << QStringLiteral("wait 100");
        }
        lines << QStringLiteral("request, window disabled");
        if (replyUsable) {
            lines << QStringLiteral("rows filled");
        }
        return lines;
    }

    Log log_;
    NotingClock clock_{log_};
    ScopedClock installed_{clock_};
    QWidget window_;
    QProgressBar* bar_ = nullptr;
};

TEST_F(BusyIndicationTest, StepsBeforeTheRequestAndClearsAfterwardsHoweverTheHandlerEnds) {
    for (bool replyUsable : {true, false}) {
        SCOPED_TRACE(replyUsable ? "rows filled" : "returned early");
        bar_->setValue(0);
        log_.lines.clear();
        LoadList(replyUsable);
        EXPECT_EQ(log_.Lines(), Expected(replyUsable));
        EXPECT_TRUE(window_.isEnabled());
        EXPECT_FALSE(bar_->isVisible());
    }
}

// Disabling the window takes the focus from its control; the control has it again afterwards,
// so a list load leaves the focus where the user had it.
TEST_F(BusyIndicationTest, GivesTheFocusBackAfterwards) {
    auto* edit = new QLineEdit(&window_);
    edit->show();
    window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    edit->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), edit);
    {
        BusyIndication busy(&window_, bar_);
        EXPECT_NE(QApplication::focusWidget(), edit);
    }
    EXPECT_EQ(QApplication::focusWidget(), edit);
}

// The public docking list loads on a worker: the same steps, each control access on the UI
// thread, the pauses the worker's.
TEST_F(BusyIndicationTest, WorksFromAWorker) {
    FunctionWorker worker([this] { LoadList(true); });
    worker.Start();
    QElapsedTimer limit;
    limit.start();
    while (!worker.Finished() && limit.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ASSERT_TRUE(worker.Finished());
    // A worker's pause consults the clock more than once per wait; the steps are what count.
    const auto withoutWaits = [](QStringList lines) {
        lines.removeIf([](const QString& line) { return line.startsWith(QStringLiteral("wait")); });
        return lines;
    };
    EXPECT_EQ(withoutWaits(log_.Lines()), withoutWaits(Expected(true)));
    EXPECT_TRUE(window_.isEnabled());
    EXPECT_FALSE(bar_->isVisible());
}

}  // namespace
}  // namespace lanxun
