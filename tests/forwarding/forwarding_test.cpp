#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <atomic>
#include <memory>
#include <thread>

#include "numbers/forwarding_controller.h"
#include "platform/input_simulator.h"
#include "support/fake_services.h"
#include "ui/main_window.h"
#include "x11_desktop.h"

namespace lanxun {
namespace {

using test::FixedPicker;
using test::RecorderWindow;

// The client's own windows are real X11 windows here, whenever there is a display to show
// them on; chosen before the test main creates the application.
const bool kX11Platform = [] {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        return false;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    return true;
}();

const QString kShiftEnter = QStringLiteral("[S-Enter]");
const QString kEnter = QStringLiteral("[Enter]");

// Typing into real windows of another process, under the suite's X display with a window
// manager, through the main window's own controls.
class Forwarding : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (test::HaveDisplay()) {
            manager_ = new test::WindowManager;
        }
    }
    static void TearDownTestSuite() {
        delete manager_;
        manager_ = nullptr;
    }

    void SetUp() override {
        if (!test::HaveDisplay()) {
            GTEST_SKIP() << "no X display";
        }
        ASSERT_TRUE(manager_->Running()) << "no window manager: openbox is needed";
        InstallClock(&clock_);  // the 500 ms pauses between number lines
        InstallMessageBoxes(&boxes_);
        window_ = std::make_unique<MainWindow>(nullptr, std::vector<WorkerFactory>{});
    }

    void TearDown() override {
        if (window_) {
            EXPECT_TRUE(boxes_.shown.empty()) << "forwarding never shows a message";
        }
        window_.reset();
    }

    ForwardingController& forwarding() { return window_->forwarding(); }

    template <typename T>
    T* Control(const char* name) {
        return window_->findChild<T*>(QString::fromUtf8(name));
    }

    QString Log() { return Control<QPlainTextEdit>("编辑框5")->toPlainText(); }

    // Makes `window` the target as the cross-hair would, without moving the pointer.
    void Target(WindowHandle window) {
        FixedPicker picker;
        picker.window = window;
        InstallPicker(&picker);
        forwarding().BeginCapture();
        forwarding().TrackPointer({});
        forwarding().EndCapture();
        InstallPicker(nullptr);
        ASSERT_EQ(forwarding().TargetWindow(), window);
    }

    // Proves that nothing else reached `recorder`: a marker typed after the rest must be
    // all it holds, as X delivers one connection's keys in order.
    static void ExpectNothingBefore(const RecorderWindow& recorder) {
        Input().TypeText(recorder.handle(), QStringLiteral("END"));
        EXPECT_TRUE(recorder.WaitForReceived(QStringLiteral("END")))
            << recorder.Received().toStdString();
    }

    static test::WindowManager* manager_;
    test::FastClock clock_{100};
    test::RecordingMessageBoxes boxes_;
    std::unique_ptr<MainWindow> window_;
};

test::WindowManager* Forwarding::manager_ = nullptr;

TEST_F(Forwarding, NumberLinesArriveAsOneMessageAlsoWithForwardingOff) {
    RecorderWindow chat(QStringLiteral("聊天"));
    ASSERT_NE(chat.handle(), 0u);
    Target(chat.handle());
    ASSERT_NE(forwarding().ForwardingState(), ForwardingController::kRunning);

    forwarding().TypeNumberLines({QStringLiteral("COM1 13800000001"),
                                  QStringLiteral("COM2 13800000002"),
                                  QStringLiteral("COM3 13800000003")});

    EXPECT_TRUE(chat.WaitForReceived(QStringLiteral("COM1 13800000001") + kShiftEnter +
                                     QStringLiteral("COM2 13800000002") + kShiftEnter +
                                     QStringLiteral("COM3 13800000003") + kShiftEnter + kEnter))
        << chat.Received().toStdString();
    EXPECT_EQ(Log(), QString()) << "number lines are not logged";
}

TEST_F(Forwarding, AnEmptyBatchStillSendsTheFinalEnter) {
    RecorderWindow chat(QStringLiteral("聊天"));
    Target(chat.handle());
    forwarding().TypeNumberLines({});
    EXPECT_TRUE(chat.WaitForReceived(kEnter)) << chat.Received().toStdString();
}

struct SmsCase {
    const char* name;
    bool wholeSms;
    QString separator;
    int position;
    QString sequence;
    QString sms;
    QString code;
    QString log;    // as the log box shows it
    QString typed;  // as the chat window receives it, before the final Shift+Enter and Enter
};

TEST_F(Forwarding, ReceivedSmsIsLoggedAndTypedAsTheChoiceSays) {
    const QString chinese = QStringLiteral("【岚讯】您的验证码是5678，请勿泄露。");
    const QString sep = QStringLiteral("-----");
    const SmsCase cases[] = {
        {"single code, row 1", false, sep, 1, "1", chinese, "5678", "COM1-----F1-----5678\n",
         "COM1-----F1-----5678-----"},
        {"whole SMS of sequence 3 now at row 1", true, sep, 1, "3", chinese, "5678",
         "COM3-----F1-----" + chinese + "-----\n", "COM3-----F1-----" + chinese + "-----"},
        {"single code of sequence 3 now at row 1", false, sep, 1, "3", chinese, "5678",
         "COM1-----F1-----5678\n", "COM3-----F1-----5678-----"},
        {"custom separator", true, QStringLiteral("〓#〓"), 2, "2", chinese, "5678",
         "COM2〓#〓F1〓#〓" + chinese + "〓#〓\n", "COM2〓#〓F1〓#〓" + chinese + "〓#〓"},
        {"empty separator", false, "", 4, "4", chinese, "5678", "COM4F15678\n", "COM4F15678"},
        {"separator with CR LF", false, "\r\n", 1, "1", chinese, "5678", "COM1\nF1\n5678\n",
         "COM1" + kShiftEnter + "F1" + kShiftEnter + "5678" + kShiftEnter},
        {"emoji, zero-width, control characters and U+FFFD", true, sep, 1, "1",
         QStringLiteral("码😀\u200B\t\u0007\uFFFD好"), "",
         QStringLiteral("COM1-----F1-----码😀\u200B\t\u0007\uFFFD好-----\n"),
         QStringLiteral("COM1-----F1-----码😀\u200B\uFFFD好-----")},
        {"SMS of several lines", true, sep, 1, "1", QStringLiteral("第一行\r\n第二行"), "",
         "COM1-----F1-----第一行\n第二行-----\n",
         "COM1-----F1-----第一行" + kShiftEnter + "第二行-----"},
        {"very long separator", false, QString(120, QLatin1Char('=')), 1, "1", chinese, "5678",
         "COM1" + QString(120, '=') + "F1" + QString(120, '=') + "5678\n",
         "COM1" + QString(120, '=') + "F1" + QString(120, '=') + "5678" + QString(120, '=')},
    };
    for (const SmsCase& c : cases) {
        SCOPED_TRACE(c.name);
        RecorderWindow chat(QStringLiteral("聊天"));
        ASSERT_NE(chat.handle(), 0u);
        Target(chat.handle());
        Control<QPlainTextEdit>("编辑框5")->clear();
        Control<QLineEdit>("编辑框7")->setText(c.separator);
        Control<QRadioButton>(c.wholeSms ? "单选框2" : "单选框1")->setChecked(true);
        Control<QPushButton>("按钮1")->click();

        forwarding().ForwardReceivedSms(c.position, c.sequence, QStringLiteral("F1"), c.sms,
                                        c.code);

        EXPECT_EQ(Log(), c.log);
        EXPECT_TRUE(chat.WaitForReceived(c.typed + kShiftEnter + kEnter))
            << chat.Received().toStdString();
    }
}

TEST_F(Forwarding, TheSeparatorIsReadAfreshForEachSms) {
    RecorderWindow chat(QStringLiteral("聊天"));
    Target(chat.handle());
    Control<QPushButton>("按钮1")->click();
    forwarding().ForwardReceivedSms(1, "1", "F", "", "11");
    Control<QLineEdit>("编辑框7")->setText("+");
    forwarding().ForwardReceivedSms(1, "1", "F", "", "22");
    EXPECT_EQ(Log(), "COM1-----F-----11\nCOM1+F+22\n");
    EXPECT_TRUE(chat.WaitForReceived("COM1-----F-----11-----" + kShiftEnter + kEnter +
                                     "COM1+F+22+" + kShiftEnter + kEnter))
        << chat.Received().toStdString();
}

TEST_F(Forwarding, StopBeforeAnSmsLeavesTargetAndLogUntouched) {
    RecorderWindow chat(QStringLiteral("聊天"));
    Target(chat.handle());
    Control<QPushButton>("按钮1")->click();
    Control<QPushButton>("按钮2")->click();
    EXPECT_EQ(forwarding().ForwardingState(), ForwardingController::kStopped);

    forwarding().ForwardReceivedSms(1, "1", "F1", "验证码1234", "1234");

    EXPECT_EQ(Log(), QString());
    ExpectNothingBefore(chat);
}

TEST_F(Forwarding, NoForwardingBeforeTheFirstStart) {
    RecorderWindow chat(QStringLiteral("聊天"));
    Target(chat.handle());
    forwarding().ForwardReceivedSms(1, "1", "F1", "验证码1234", "1234");
    EXPECT_EQ(Log(), QString());
    ExpectNothingBefore(chat);
}

// Keys for no window or a closed one must not land in whatever window has the focus.
TEST_F(Forwarding, NoTargetOrAClosedTargetTypesNothingAnywhere) {
    RecorderWindow bystander(QStringLiteral("旁观"), 0, {40, 640});
    ASSERT_NE(bystander.handle(), 0u);
    WindowHandle closed = 0;
    {
        RecorderWindow gone(QStringLiteral("已关闭"));
        closed = gone.handle();
        ASSERT_NE(closed, 0u);
    }
    for (WindowHandle target : {WindowHandle(0), closed}) {
        SCOPED_TRACE(target);
        Input().TypeText(bystander.handle(), QString());  // the bystander has the focus
        Target(target);
        Control<QPushButton>("按钮1")->click();
        forwarding().ForwardReceivedSms(1, "1", "F1", "短信", "1234");
        forwarding().TypeNumberLines({QStringLiteral("COM1 13800000001")});
        EXPECT_FALSE(Input().TypeText(target, QStringLiteral("x")));
        EXPECT_FALSE(Input().PressKey(target, kEnterKey, 0));
    }
    ExpectNothingBefore(bystander);
}

TEST_F(Forwarding, ATargetClosingWhileTypedIntoStopsTheTyping) {
    RecorderWindow chat(QStringLiteral("聊天"), 10);
    ASSERT_NE(chat.handle(), 0u);
    const QString text = QString(3000, QLatin1Char('a'));

    Input().TypeText(chat.handle(), text);  // returns, whatever it managed

    EXPECT_TRUE(chat.WaitForExit());
    const QString received = chat.Received();
    EXPECT_GE(received.size(), 10);
    EXPECT_TRUE(text.startsWith(received));
    EXPECT_FALSE(Input().TypeText(chat.handle(), QStringLiteral("more")));
}

TEST_F(Forwarding, KeyCodesLeftBoundByAnEarlierRunAreTakenAgain) {
    RecorderWindow chat(QStringLiteral("聊天"));
    ASSERT_NE(chat.handle(), 0u);
    const std::vector<unsigned> leftBound = test::BindEveryUnboundKeyCode();
    const QString text = QStringLiteral("【岚讯】您的验证码是5678，请勿泄露。");

    EXPECT_TRUE(Input().TypeText(chat.handle(), text));
    EXPECT_TRUE(chat.WaitForReceived(text)) << chat.Received().toStdString();
    test::UnbindKeyCodes(leftBound);
}

TEST_F(Forwarding, TwoThreadsForwardingAtOnceEachArriveWhole) {
    RecorderWindow chat(QStringLiteral("聊天"));
    Target(chat.handle());
    Control<QPushButton>("按钮1")->click();
    Control<QRadioButton>("单选框2")->setChecked(true);
    // Long enough for the two to overlap: each must still arrive in one piece.
    const QString first = QString(100, QChar(u'甲')) + QString(1000, QLatin1Char('x'));
    const QString second = QString(100, QChar(u'乙')) + QString(1000, QLatin1Char('y'));

    std::atomic<bool> go{false};
    std::atomic<int> done{0};
    std::thread a([&] {
        while (!go) {
            std::this_thread::yield();
        }
        forwarding().ForwardReceivedSms(1, "1", "F", first, "1");
        ++done;
    });
    std::thread b([&] {
        while (!go) {
            std::this_thread::yield();
        }
        forwarding().TypeNumberLines({second});
        ++done;
    });
    go = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return done == 2; }, 60 * 1000));
    a.join();
    b.join();

    const QString typedA = "COM1-----F-----" + first + "-----";
    ASSERT_TRUE(chat.WaitForLength(typedA.size() + second.size() + 2 * kShiftEnter.size() +
                                   2 * kEnter.size()))
        << chat.Received().toStdString();
    const QString received = chat.Received();
    EXPECT_TRUE(received.contains(typedA)) << received.toStdString();
    EXPECT_TRUE(received.contains(second)) << received.toStdString();
    EXPECT_EQ(received.count(kShiftEnter), 2);
    EXPECT_EQ(received.count(kEnter), 2);
    EXPECT_EQ(Log(), "COM1-----F-----" + first + "-----\n");
}

// The cross-hair, dragged with the real pointer.
class CrossHairDrag : public Forwarding {
protected:
    void SetUp() override {
        Forwarding::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get(), 30 * 1000));
    }

    // Presses on the cross-hair, drags to `end` and releases there once the handle box shows
    // `expected`.
    void Drag(QPoint end, const QString& expected) {
        QLabel* box = Control<QLabel>("图片框_捕获鼠标");
        // Where X has the window (the window centres itself, the manager may move it), as
        // the pointer's positions are the screen's.
        const QPoint origin = test::ScreenRect(window_->winId()).topLeft();
        const QPoint start = origin + box->mapTo(window_.get(), box->rect().center());
        test::MovePointer(start);
        test::PressLeftButton(true);
        ASSERT_TRUE(QTest::qWaitFor([&] { return forwarding().Capturing(); }));
        EXPECT_TRUE(box->pixmap().isNull()) << "the cross-hair leaves the box";
        test::MovePointer((start + end) / 2);
        test::MovePointer(end);
        // The drag is over once the move has been reported to the box.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return Control<QLineEdit>("编辑框_窗口句柄")->text() == expected; }));
        test::PressLeftButton(false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !forwarding().Capturing(); }));
        EXPECT_FALSE(box->pixmap().isNull()) << "the cross-hair is back";
    }
};

TEST_F(CrossHairDrag, OntoAnotherProgramsWindowMakesItTheTarget) {
    const QString title = QStringLiteral("岚讯测试聊天窗口");
    RecorderWindow chat(title);
    ASSERT_NE(chat.handle(), 0u);
    const QRect area = test::ScreenRect(chat.handle());
    ASSERT_TRUE(area.isValid());
    const QString handleText = QString::number(chat.handle());

    Drag(area.center(), handleText);

    EXPECT_EQ(Control<QLineEdit>("编辑框_窗口句柄")->text(), handleText);
    EXPECT_EQ(Control<QLineEdit>("编辑框_窗口标题")->text(), title);
    EXPECT_EQ(forwarding().TargetWindow(), chat.handle());
}

TEST_F(CrossHairDrag, ReleasedOverTheClientMakesTheClientTheTarget) {
    QPlainTextEdit* log = Control<QPlainTextEdit>("编辑框5");
    const QPoint overLog = test::ScreenRect(window_->winId()).topLeft() +
                           log->mapTo(window_.get(), log->rect().center());
    Drag(overLog, QString::number(window_->winId()));

    EXPECT_EQ(forwarding().TargetWindow(), WindowHandle(window_->winId()));
    EXPECT_EQ(Control<QLineEdit>("编辑框_窗口句柄")->text(), QString::number(window_->winId()));
    EXPECT_EQ(Control<QLineEdit>("编辑框_窗口标题")->text(), window_->windowTitle());
}

TEST_F(Forwarding, ALongTitleIsCutTo255GbkBytes) {
    const QString title = QString(200, QChar(u'长'));  // 400 bytes in GBK
    RecorderWindow chat(title);
    ASSERT_NE(chat.handle(), 0u);
    EXPECT_EQ(Picker().Title(chat.handle()), QString(127, QChar(u'长')));
    EXPECT_EQ(Picker().Title(0), QString());
}

// A press while a drag is already under way (its release went astray, or a message box
// took it) starts nothing new: the release puts the cross-hair back, and the next drag
// takes it away and brings it back again.
TEST_F(CrossHairDrag, ASecondPressMidDragKeepsTheCrossHair) {
    QLabel* box = Control<QLabel>("图片框_捕获鼠标");
    const QImage crossHair = box->pixmap().toImage();
    ASSERT_FALSE(crossHair.isNull());
    const QPoint centre = box->rect().center();

    QTest::mousePress(box, Qt::LeftButton, {}, centre);
    ASSERT_TRUE(forwarding().Capturing());
    QTest::mousePress(box, Qt::LeftButton, {}, centre);
    EXPECT_TRUE(forwarding().Capturing());
    QTest::mouseRelease(box, Qt::LeftButton, {}, centre);

    EXPECT_FALSE(forwarding().Capturing());
    EXPECT_EQ(box->pixmap().toImage(), crossHair);
    Drag(test::ScreenRect(window_->winId()).center(), QString::number(window_->winId()));
    EXPECT_EQ(box->pixmap().toImage(), crossHair);
}

}  // namespace
}  // namespace lanxun
