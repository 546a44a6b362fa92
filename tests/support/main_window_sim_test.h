#pragma once

#include <QPointer>
#include <QString>
#include <QTest>
#include <vector>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "numbers/home_region.h"
#include "support/fake_services.h"
#include "support/sim_lines.h"
#include "support/sim_test.h"
#include "ui/main_window.h"

namespace lanxun::test {

// Every line and the segment lookups pointed at the local platform, the demo user logged in.
inline void UseSimAsDemoUser(const platformsim::PlatformSim& sim) {
    SetLines(SimLines(sim));
    CurrentLogin().userName = QStringLiteral("demo2026");
    CurrentLogin().password = QStringLiteral("lanxun666");
    SetSegmentHost(QString::fromStdString(sim.Address(platformsim::Line::Segment)));
}

// The main window with all its routines, activated, against the local platform: every line and
// the segment lookups pointed at it, the demo user logged in, fake services and a fast clock.
// (A program that uses it links the window library.)
class MainWindowSimTest : public SimTest {
protected:
    // A test whose requests must come from its own actions alone runs the window without them.
    virtual std::vector<WorkerFactory> Routines() { return BackgroundWorkers(); }

    void SetUp() override {
        SimTest::SetUp();
        UseSimAsDemoUser(*sim_);
        window_ = new MainWindow(QPointer<QWidget>(), Routines());
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
    }
    void TearDown() override { delete window_.data(); }

    FakeServices fakes_;
    // Not faster: the platform time-outs follow the clock, and the segment lookup's 5 s must
    // still leave an HTTPS reply on a busy machine half a second.
    FastClock clock_{10};
    ScopedClock useClock_{clock_};
    QPointer<MainWindow> window_;
};

}  // namespace lanxun::test
