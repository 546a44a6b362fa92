#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <string>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "platform/gbk.h"
#include "platform_sim.h"
#include "support/fake_services.h"
#include "support/sim_lines.h"

namespace lanxun::test {

inline std::string Gbk(const QString& text) {
    return ToGbk(text).toStdString();
}

// A fresh local platform per test (its dockings change as the tests act), the
// client's lines on it, the demo user logged in, and the busy steps on a fast clock.
class DockingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Start()) << sim.StartError();
        SetLines(SimLines(sim));
        CurrentLogin().userName = "demo2026";
        CurrentLogin().password = "lanxun666";
    }
    void TearDown() override { sim.Stop(); }

    QStringList Targets() const { return SimTargets(sim); }
    QStringList Messages() const { return services.messageBoxes.Texts(); }
    // The prefix every docking request of the demo user starts with.
    static QString Prefix(const char* endpoint) {
        return QStringLiteral("/") + QString::fromUtf8(endpoint) +
               QStringLiteral("/username=demo2026&password=lanxun666");
    }

    FakeServices services;
    // 10 times: the platform time-outs follow the clock, and a reply held for a few hundred
    // ms must still arrive.
    FastClock clock{10};
    ScopedClock useClock{clock};
    platformsim::PlatformSim sim;
};

}  // namespace lanxun::test
