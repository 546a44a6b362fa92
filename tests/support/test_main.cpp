#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>

#include "support/process_state.h"

namespace {

// What one test leaves behind in the process never reaches the next.
class ResetProcessStateAfterEachTest : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { lanxun::test::ResetProcessState(); }
};

}  // namespace

// Every test program runs inside a QApplication so that windows, timers and
// queued calls behave as in the client.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetProcessStateAfterEachTest);
    return RUN_ALL_TESTS();
}
