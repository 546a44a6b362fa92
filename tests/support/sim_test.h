#pragma once

#include <gtest/gtest.h>

#include <QString>

#include "platform_sim.h"
#include "sim_numbers.h"

namespace lanxun::test {

// One local platform for a whole suite; each test starts with no scripts, no
// proxy credentials and an empty request log.
class SimTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sim_ = new platformsim::PlatformSim();
        ASSERT_TRUE(sim_->Start()) << sim_->StartError();
    }
    static void TearDownTestSuite() {
        delete sim_;
        sim_ = nullptr;
    }
    void SetUp() override {
        sim_->ClearScripts();
        sim_->ClearRequests();
        sim_->SetProxyCredentials("", "");
        sim_->Numbers().Reset();
    }

    // "http://" + the line's address + path.
    static QString Url(const char* path, platformsim::Line line = platformsim::Line::Account) {
        return QStringLiteral("http://") + QString::fromStdString(sim_->Address(line)) +
               QString::fromUtf8(path);
    }

    static inline platformsim::PlatformSim* sim_ = nullptr;
};

}  // namespace lanxun::test
