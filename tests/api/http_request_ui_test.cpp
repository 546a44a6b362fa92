#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

// Real user input reaches Qt through the window-system queue, which a local
// event loop with ExcludeUserInputEvents holds back. The queue's entry point is
// part of the platform API only.
#include <qpa/qwindowsysteminterface.h>

#include "api/http_request.h"
#include "platform_sim.h"
#include "support/sim_reply.h"

namespace lanxun {
namespace {

using test::Reply;

class InputCounter : public QWidget {
public:
    int keys = 0;
    int clicks = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keys; }
    void mousePressEvent(QMouseEvent*) override { ++clicks; }
};

TEST(HttpRequestOnUiThread, KeepsPaintingButHoldsInputBack) {
    platformsim::PlatformSim sim;
    ASSERT_TRUE(sim.Start()) << sim.StartError();
    sim.Script("/slow", Reply(200, "1|late", {}, 1500));
    const QString url = QStringLiteral("http://") +
                        QString::fromStdString(sim.Address(platformsim::Line::Account)) +
                        QStringLiteral("/slow");

    InputCounter window;
    window.resize(200, 100);
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    QWindow* handle = window.windowHandle();
    ASSERT_NE(handle, nullptr);

    int ticks = 0;
    int keysSeenByTimer = -1;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(100);
    // Once the request is under way, a key press and a click arrive the way
    // the window system delivers them.
    QTimer::singleShot(300, [&] {
        QWindowSystemInterface::handleKeyEvent(handle, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier,
                                               QStringLiteral("a"));
        const QPointF point(10, 10);
        QWindowSystemInterface::handleMouseEvent(handle, point, handle->mapToGlobal(point),
                                                 Qt::LeftButton, Qt::LeftButton,
                                                 QEvent::MouseButtonPress);
        QTimer::singleShot(300, [&] { keysSeenByTimer = window.keys + window.clicks; });
    });

    HttpRequest request;
    request.SetTimeouts(15000, 15000, 15000, 15000);
    request.Open(QStringLiteral("GET"), url);
    QElapsedTimer clock;
    clock.start();
    request.Send();
    EXPECT_GE(clock.elapsed(), 1400);
    EXPECT_EQ(request.ResponseBodyText(), QStringLiteral("1|late"));

    EXPECT_GE(ticks, 5) << "timers stop while the request waits";
    EXPECT_EQ(keysSeenByTimer, 0) << "input was handled during the request";
    EXPECT_EQ(window.keys, 0);
    EXPECT_EQ(window.clicks, 0);

    // Held back, not lost: the input arrives once the request is over.
    QElapsedTimer afterwards;
    afterwards.start();
    while ((window.keys == 0 || window.clicks == 0) && afterwards.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_EQ(window.keys, 1);
    EXPECT_EQ(window.clicks, 1);
}

}  // namespace
}  // namespace lanxun
