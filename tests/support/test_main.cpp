#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>

// Every test program runs inside a QApplication so that windows, timers and
// queued calls behave as in the client.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
