#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <string>

#include "account/login_state.h"
#include "api/server_lines.h"
#include "funds_model.h"
#include "sim_text.h"
#include "support/fake_services.h"
#include "support/sim_lines.h"
#include "support/sim_test.h"

namespace lanxun::test {

// The local platform with the demo account logged in, its money as at the start, fake message
// boxes, clipboard and modal windows, and a fast clock for the busy indication's steps; only so
// fast that the platform time-outs, which follow it (15 s in 300 ms), leave loopback replies be.
class RecordsTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        sim_->Funds().Reset();
        SetLines(SimLines(*sim_));
        LoginState& login = CurrentLogin();
        login.userName = QStringLiteral("demo2026");
        login.password = QStringLiteral("lanxun666");
        login.balance = QStringLiteral("88.50");
        login.withdrawable = QStringLiteral("12.00");
        login.serviceQq = QStringLiteral("800012345");
    }

    // The targets received, with the common prefix of the demo account shortened to "…".
    static QStringList Targets() {
        QStringList targets;
        for (QString target : SimTargets(*sim_)) {
            targets << target.replace(QStringLiteral("/username=demo2026&password=lanxun666"),
                                      QStringLiteral("/…"));
        }
        return targets;
    }

    static std::string Gbk(const char* utf8) { return platformsim::Gbk(utf8); }

    template <typename T>
    static T* Child(QWidget* window, const char* name) {
        T* child = window->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    FakeServices fakes_;
    FastClock clock_{50};
    ScopedClock useClock_{clock_};
};

}  // namespace lanxun::test
