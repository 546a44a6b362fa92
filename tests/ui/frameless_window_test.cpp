#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "platform/clock.h"
#include "platform/handler_scope.h"
#include "support/fake_services.h"
#include "ui/forms.h"
#include "ui/frameless_window.h"

namespace lanxun {
namespace {

// A real window of the client: the announcement form in the shared frame, with a close
// request handler that counts its calls and answers as told.
class CountingWindow : public FramelessWindow {
public:
    explicit CountingWindow(bool accept = true) : accept_(accept) {
        Form(FormId::Announcement).setUp(this);
        SetUpForm(Form(FormId::Announcement));
    }

    QLabel* Box(const char* name) const { return findChild<QLabel*>(QString::fromUtf8(name)); }

    int closeRequests = 0;

protected:
    bool AcceptClose() override {
        ++closeRequests;
        return accept_;
    }

private:
    bool accept_;
};

class FramelessWindowTest : public ::testing::Test {
protected:
    // Runs what deleteLater and WA_DeleteOnClose have scheduled.
    static void RunDeferredDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    void TearDown() override {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<FramelessWindow*>(window) != nullptr) {
                delete window;
            }
        }
    }
};

TEST_F(FramelessWindowTest, FramelessWhiteAndDeletedOnClose) {
    auto* window = new CountingWindow;
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->autoFillBackground());
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
}

// Esc is a close request wherever the focus is; AcceptClose decides.
TEST_F(FramelessWindowTest, EscapeIsACloseRequestThatCanBeRefused) {
    for (bool accept : {false, true}) {
        SCOPED_TRACE(accept);
        QPointer<CountingWindow> window = new CountingWindow(accept);
        window->show();
        auto* memo = window->findChild<QPlainTextEdit*>(QStringLiteral("编辑框1"));
        ASSERT_NE(memo, nullptr);

        QTest::keyClick(memo, Qt::Key_Escape);
        RunDeferredDeletes();
        if (accept) {
            EXPECT_TRUE(window.isNull());
        } else {
            ASSERT_FALSE(window.isNull());
            EXPECT_EQ(window->closeRequests, 1);
            EXPECT_TRUE(window->isVisible());
            QTest::keyClick(window, Qt::Key_Escape);
            EXPECT_EQ(window->closeRequests, 2);
            EXPECT_TRUE(window->isVisible());
            delete window;
        }
    }
}

TEST_F(FramelessWindowTest, EscapeFromALineEditClosesTheWindow) {
    auto* window = new FramelessWindow;
    auto* edit = new QLineEdit(window);
    window->show();
    QPointer<FramelessWindow> guard = window;
    QTest::keyClick(edit, Qt::Key_Escape);
    RunDeferredDeletes();
    EXPECT_TRUE(guard.isNull());
}

TEST_F(FramelessWindowTest, SystemCloseIsACloseRequest) {
    QPointer<CountingWindow> window = new CountingWindow(false);
    window->show();
    EXPECT_FALSE(window->close());
    EXPECT_EQ(window->closeRequests, 1);
    EXPECT_TRUE(window->isVisible());
}

// The close box destroys the window at once, even when a close request would be refused.
TEST_F(FramelessWindowTest, CloseBoxDestroysWithoutACloseRequest) {
    QPointer<CountingWindow> window = new CountingWindow(false);
    window->show();
    QTest::mousePress(window->Box("图片框72"), Qt::LeftButton);
    EXPECT_EQ(window->closeRequests, 0);
    RunDeferredDeletes();
    EXPECT_TRUE(window.isNull());
}

// The program ends when the close box destroys its last window.
TEST_F(FramelessWindowTest, ClosingTheLastWindowByItsBoxEndsTheEventLoop) {
    for (QWidget* other : QApplication::topLevelWidgets()) {
        ASSERT_FALSE(other->isVisible()) << "another window is open";
    }
    QPointer<CountingWindow> window = new CountingWindow(false);  // would refuse a request
    window->show();
    QTimer::singleShot(0, window,
                       [window] { QTest::mousePress(window->Box("图片框72"), Qt::LeftButton); });
    QTimer hang;  // a hang fails instead of blocking the run
    hang.setSingleShot(true);
    QObject::connect(&hang, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    hang.start(10000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(window.isNull());
}

TEST_F(FramelessWindowTest, OnlyTheLeftButtonWorksTheBoxes) {
    QPointer<CountingWindow> window = new CountingWindow;
    window->show();
    QTest::mousePress(window->Box("图片框72"), Qt::RightButton);
    QTest::mousePress(window->Box("图片框71"), Qt::RightButton);
    RunDeferredDeletes();
    ASSERT_FALSE(window.isNull());
    EXPECT_FALSE(window->isMaximized());
}

TEST_F(FramelessWindowTest, MaximiseBoxTogglesAndMinimiseBoxMinimises) {
    auto* window = new CountingWindow;
    window->show();
    QTest::mousePress(window->Box("图片框71"), Qt::LeftButton);
    EXPECT_TRUE(window->isMaximized());
    QTest::mousePress(window->Box("图片框71"), Qt::LeftButton);
    EXPECT_FALSE(window->isMaximized());
    QTest::mousePress(window->Box("图片框70"), Qt::LeftButton);
    EXPECT_TRUE(window->isMinimized());
    EXPECT_EQ(window->closeRequests, 0);
}

TEST_F(FramelessWindowTest, CentredOnTheScreenWhenFirstShown) {
    for (auto frame : {FramelessWindow::Frame::None, FramelessWindow::Frame::System}) {
        auto* window = new FramelessWindow(nullptr, frame);
        window->resize(300, 200);
        window->move(0, 0);
        window->show();
        const QRect area = window->screen()->availableGeometry();
        const QPoint offset = window->frameGeometry().center() - area.center();
        EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();

        // Shown again after the user's own placement, it stays where it was put.
        window->hide();
        window->move(area.topLeft() + QPoint(10, 10));
        window->show();
        EXPECT_EQ(window->pos(), area.topLeft() + QPoint(10, 10));
        delete window;
    }
}

// The update window keeps its system frame and the default background, and still closes on Esc.
TEST_F(FramelessWindowTest, SystemFrameVariant) {
    QPointer<FramelessWindow> window = new FramelessWindow(nullptr, FramelessWindow::Frame::System);
    Form(FormId::Update).setUp(window);
    window->SetUpForm(Form(FormId::Update));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(window->autoFillBackground());
    window->show();
    QTest::keyClick(window, Qt::Key_Escape);
    RunDeferredDeletes();
    EXPECT_TRUE(window.isNull());
}

TEST_F(FramelessWindowTest, DestroyNowTwiceIsHarmless) {
    QPointer<CountingWindow> window = new CountingWindow;
    window->show();
    window->DestroyNow();
    window->DestroyNow();
    QTest::keyClick(window, Qt::Key_Escape);  // no close request on the way out
    EXPECT_EQ(window->closeRequests, 0);
    RunDeferredDeletes();
    EXPECT_TRUE(window.isNull());
}

// However a window is asked to go while one of its handlers waits, it stays until the outermost
// waiting handler has returned, and goes then.
TEST_F(FramelessWindowTest, AWindowClosedWhileItsHandlerWaitsGoesWhenTheHandlerReturns) {
    test::FastClock fast(100);
    test::ScopedClock installed(fast);
    const struct {
        const char* how;
        std::function<void(CountingWindow*)> close;
    } cases[] = {
        {"close box",
         [](CountingWindow* w) { QTest::mousePress(w->Box("图片框72"), Qt::LeftButton); }},
        {"Esc", [](CountingWindow* w) { QTest::keyClick(w, Qt::Key_Escape); }},
        {"deleteLater", [](CountingWindow* w) { w->deleteLater(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        QPointer<CountingWindow> window = new CountingWindow;
        window->show();
        bool aliveAfterWait = false;
        bool closingSeen = false;
        bool aliveAfterInnerHandler = false;
        // One of the window's handlers: it waits, and the close arrives meanwhile.
        const auto handler = [&] {
            HandlerScope running(window);
            QTimer::singleShot(0, window, [&] { c.close(window); });
            PumpDelay(1000);
            aliveAfterWait = !window.isNull();
            closingSeen = running.WindowClosing();
            {
                HandlerScope inner(window);  // a handler nested in it, waiting too
                PumpDelay(100);
            }
            PumpDelay(100);  // events flow again after the inner one returned
            aliveAfterInnerHandler = !window.isNull();
        };
        handler();
        EXPECT_TRUE(aliveAfterWait);
        EXPECT_TRUE(closingSeen);
        EXPECT_TRUE(aliveAfterInnerHandler);
        RunDeferredDeletes();
        EXPECT_TRUE(window.isNull());
        delete window.data();
    }
}

// The held-back close is carried out also when the window has other events waiting as the
// handler returns (a repaint the handler asked for, say): Qt would otherwise take the second
// deletion for a duplicate of the swallowed first one and drop it.
TEST_F(FramelessWindowTest, AHeldCloseGoesThroughWithOtherEventsPosted) {
    test::FastClock fast(100);
    test::ScopedClock installed(fast);
    QPointer<CountingWindow> window = new CountingWindow;
    window->show();
    {
        HandlerScope running(window);
        QTimer::singleShot(0, window, [&] { window->deleteLater(); });
        PumpDelay(1000);
        ASSERT_TRUE(running.WindowClosing());
        QCoreApplication::postEvent(window, new QEvent(QEvent::User));
    }
    RunDeferredDeletes();
    EXPECT_TRUE(window.isNull());
    delete window.data();
}

// A handler that waits with nothing closing it leaves the window as it was.
TEST_F(FramelessWindowTest, AHandlerThatWaitsKeepsAnOpenWindowOpen) {
    test::FastClock fast(100);
    test::ScopedClock installed(fast);
    QPointer<CountingWindow> window = new CountingWindow;
    window->show();
    {
        HandlerScope running(window);
        EXPECT_TRUE(HandlerScope::Running(window->Box("图片框72")));
        PumpDelay(1000);
        EXPECT_FALSE(running.WindowClosing());
    }
    EXPECT_FALSE(HandlerScope::Running(window));
    RunDeferredDeletes();
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());
    delete window.data();
}

}  // namespace
}  // namespace lanxun
