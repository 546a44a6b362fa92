#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <functional>
#include <latch>
#include <memory>
#include <ostream>
#include <semaphore>
#include <thread>

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/gbk.h"
#include "platform/message_box.h"
#include "platform/modal_opener.h"
#include "platform/on_ui_thread.h"
#include "platform/worker.h"
#include "support/fake_services.h"

namespace lanxun {
namespace {

using test::FakeServices;
using test::FastClock;
using test::ScopedClock;

// A worker whose routine is given by the test.
class LambdaWorker : public Worker {
public:
    explicit LambdaWorker(std::function<void(LambdaWorker&)> routine)
        : routine_(std::move(routine)) {}
    ~LambdaWorker() override { Stop(); }

protected:
    void Run() override { routine_(*this); }

private:
    std::function<void(LambdaWorker&)> routine_;
};

// Keeps the UI thread's events flowing until `done` or a generous limit.
bool WaitOnUi(const std::function<bool()>& done, int limitMs = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

TEST(RunOnUiThread, AccessFromWorkerRunsOnUiThread) {
    QThread* const uiThread = QThread::currentThread();
    std::atomic<QThread*> ranOn{nullptr};
    std::atomic<QThread*> workerThread{nullptr};
    std::atomic<bool> returned{false};
    LambdaWorker worker([&](LambdaWorker&) {
        workerThread = QThread::currentThread();
        returned = RunOnUiThread([&] { ranOn = QThread::currentThread(); });
    });
    worker.Start();
    ASSERT_TRUE(WaitOnUi([&] { return worker.Finished(); }));
    EXPECT_TRUE(returned);
    EXPECT_EQ(ranOn.load(), uiThread);
    EXPECT_NE(workerThread.load(), uiThread);
}

TEST(RunOnUiThread, OnUiThreadIsADirectCall) {
    bool ran = false;
    EXPECT_TRUE(RunOnUiThread([&] { ran = true; }));
    EXPECT_TRUE(ran);  // no event loop needed
    EXPECT_EQ(ReadOnUiThread([] { return 42; }), 42);
}

TEST(RunOnUiThread, WaitsForTheAccessAndReadsItsValue) {
    QWidget label;
    label.setWindowTitle(QStringLiteral("标题"));
    std::atomic<bool> sawTitle{false};
    LambdaWorker worker([&](LambdaWorker&) {
        // The write is complete when the call returns, so the read sees it.
        RunOnUiThread([&] { label.setWindowTitle(QStringLiteral("新标题")); });
        sawTitle = ReadOnUiThread([&] { return label.windowTitle(); }) == QStringLiteral("新标题");
    });
    worker.Start();
    ASSERT_TRUE(WaitOnUi([&] { return worker.Finished(); }));
    EXPECT_TRUE(sawTitle);
}

TEST(RunOnUiThread, AccessesOfManyWorkersNeverInterleave) {
    // An unguarded read-modify-write is safe only if every access runs on the UI thread.
    int counter = 0;
    constexpr int kWorkers = 4;
    constexpr int kAccesses = 200;
    std::vector<std::unique_ptr<LambdaWorker>> workers;
    for (int i = 0; i < kWorkers; ++i) {
        workers.push_back(std::make_unique<LambdaWorker>([&](LambdaWorker&) {
            for (int n = 0; n < kAccesses; ++n) {
                RunOnUiThread([&] {
                    const int seen = counter;
                    counter = seen + 1;
                });
            }
        }));
    }
    for (auto& worker : workers) {
        worker->Start();
    }
    ASSERT_TRUE(WaitOnUi([&] {
        return std::all_of(workers.begin(), workers.end(),
                           [](const auto& w) { return w->Finished(); });
    }));
    EXPECT_EQ(counter, kWorkers * kAccesses);
}

// The state letter of one of this process's threads, as the kernel shows it:
// 'R' running, 'S' blocked in a wait, '?' when it cannot be read.
char ThreadState(pid_t thread) {
    QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(thread));
    if (!stat.open(QIODevice::ReadOnly)) {
        return '?';
    }
    const QByteArray line = stat.readAll();  // "tid (name) state ...", the name may hold ")"
    const qsizetype nameEnd = line.lastIndexOf(')');
    return nameEnd >= 0 && nameEnd + 2 < line.size() ? line[nameEnd + 2] : '?';
}

// Lets a test act only once a worker routine is blocked inside its wait. The
// routine calls AboutToWait() right before the wait; nothing between the two
// blocks, so the first time the kernel shows the thread blocked it is in the wait.
class WaitEntry {
public:
    void AboutToWait() {
        thread_ = ::gettid();
        signal_ = Worker::CurrentWakeSignal();
        announced_.count_down();
    }

    // False when the worker was not seen blocked within a generous limit.
    bool WaitUntilInside() {
        announced_.wait();
        QDeadlineTimer limit(30000);
        while (ThreadState(thread_) != 'S') {
            if (limit.hasExpired()) {
                return false;
            }
            std::this_thread::yield();
        }
        return true;
    }

    // The signal the worker waits on, to wake it by hand.
    WakeSignal& Signal() { return *signal_; }

private:
    std::latch announced_{1};
    pid_t thread_ = 0;
    std::shared_ptr<WakeSignal> signal_;
};

// Stops `worker` from another thread and waits a generous limit for it to end;
// false when it did not. Its waits last far longer than the limit, so only a
// stop that wakes it ends it in time. A worker the stop failed to wake is woken
// by hand afterwards, so that the test still ends.
bool StopsWithinLimit(Worker& worker, WaitEntry& entry) {
    std::binary_semaphore stopped(0);
    std::thread stopper([&] {
        worker.Stop();
        stopped.release();
    });
    const bool ended = stopped.try_acquire_for(std::chrono::seconds(30));
    if (!ended) {
        WakeSignal& signal = entry.Signal();
        {
            std::lock_guard lock(signal.mutex);
            signal.stopRequested = true;
        }
        signal.wake.notify_all();
    }
    stopper.join();
    return ended;
}

constexpr int kTenMinutes = 10 * 60 * 1000;

// Each way a worker can be waiting when it is told to stop.
struct StopCase {
    const char* name;
    std::function<void(LambdaWorker&)> wait;
};

class WorkerStop : public ::testing::TestWithParam<StopCase> {};

void PrintTo(const StopCase& stopCase, std::ostream* out) {
    *out << stopCase.name;
}

TEST_P(WorkerStop, WakesTheWorkerFromInsideItsWait) {
    // Ten clock minutes last two and a half real ones: far beyond the limit, yet
    // a worker that no stop can wake still ends before the test program's time-out.
    FastClock clock(4);
    ScopedClock installed(clock);
    WaitEntry entry;
    LambdaWorker worker([&](LambdaWorker& self) {
        entry.AboutToWait();
        GetParam().wait(self);
    });
    worker.Start();
    // The UI thread does not pump events here, so a queued access stays queued.
    ASSERT_TRUE(entry.WaitUntilInside());
    EXPECT_TRUE(StopsWithinLimit(worker, entry)) << "the stop did not wake the worker";
    EXPECT_TRUE(worker.Finished());
}

INSTANTIATE_TEST_SUITE_P(
    EveryWait, WorkerStop,
    ::testing::Values(StopCase{"Pause",
                               [](LambdaWorker& w) { EXPECT_FALSE(w.Pause(kTenMinutes)); }},
                      StopCase{"PumpDelay", [](LambdaWorker&) { PumpDelay(kTenMinutes); }},
                      StopCase{"PauseLoop",
                               [](LambdaWorker& w) {
                                   while (!w.StopRequested()) {
                                       w.Pause(kTenMinutes);
                                   }
                               }},
                      StopCase{"QueuedUiAccess",
                               [](LambdaWorker&) {
                                   bool ran = false;
                                   EXPECT_FALSE(RunOnUiThread([&] { ran = true; }));
                                   EXPECT_FALSE(ran);
                               }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Worker, GivenUpAccessNeverRunsLater) {
    std::atomic<int> ran{0};
    {
        WaitEntry entry;
        LambdaWorker worker([&](LambdaWorker&) {
            entry.AboutToWait();
            RunOnUiThread([&] { ++ran; });
        });
        worker.Start();
        // Once the worker waits, its access is in the UI thread's queue.
        ASSERT_TRUE(entry.WaitUntilInside());
        EXPECT_TRUE(StopsWithinLimit(worker, entry));
    }
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(ran.load(), 0);
}

TEST(Worker, PauseRunsItsFullTimeWhenNotStopped) {
    FastClock clock(1000, QDateTime::currentDateTime(), FastClock::TimeOuts::Fast);
    ScopedClock installed(clock);
    std::atomic<bool> completed{false};
    std::atomic<qint64> clockElapsed{0};
    LambdaWorker worker([&](LambdaWorker& self) {
        const qint64 before = CurrentClock().Ticks();
        completed = self.Pause(120 * 1000);
        clockElapsed = CurrentClock().Ticks() - before;
    });
    worker.Start();
    ASSERT_TRUE(WaitOnUi([&] { return worker.Finished(); }));
    EXPECT_TRUE(completed);
    EXPECT_GE(clockElapsed.load(), 110 * 1000);
}

TEST(Worker, StopBeforeStartRunsNothing) {
    std::atomic<bool> ran{false};
    LambdaWorker worker([&](LambdaWorker&) { ran = true; });
    worker.Stop();
    worker.Start();
    worker.Stop();
    EXPECT_FALSE(ran);
}

TEST(PumpDelay, LetsTimersAndQueuedCallsRunMeanwhile) {
    bool timerRan = false;
    bool queuedRan = false;
    QTimer::singleShot(20, [&] { timerRan = true; });
    QMetaObject::invokeMethod(
        qApp, [&] { queuedRan = true; }, Qt::QueuedConnection);
    QElapsedTimer timer;
    timer.start();
    PumpDelay(300);
    EXPECT_TRUE(timerRan);
    EXPECT_TRUE(queuedRan);
    EXPECT_GE(timer.elapsed(), 250);
    EXPECT_LT(timer.elapsed(), 10000);
}

TEST(PumpDelay, LetsInputThroughMeanwhile) {
    QWidget window;
    window.show();
    bool pressed = false;
    struct KeyFilter : QObject {
        bool* pressed;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::KeyPress) {
                *pressed = true;
            }
            return false;
        }
    } filter;
    filter.pressed = &pressed;
    window.installEventFilter(&filter);
    QTimer::singleShot(20, &window, [&] { QTest::keyClick(&window, Qt::Key_A); });
    PumpDelay(200);
    EXPECT_TRUE(pressed);
}

TEST(PumpDelay, FollowsTheInstalledClock) {
    FastClock clock(1000, QDateTime::currentDateTime(), FastClock::TimeOuts::Fast);
    ScopedClock installed(clock);
    QElapsedTimer timer;
    timer.start();
    const qint64 before = CurrentClock().Ticks();
    PumpDelay(5 * 60 * 1000);
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_GE(CurrentClock().Ticks() - before, 5 * 60 * 1000 - 1000);
}

struct MessageCase {
    const char* name;
    std::function<bool()> show;  // shows the box, returns its answer (true for plain boxes)
    Message expected;
};

class MessageBoxHelpers : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageBoxHelpers, ShowTheBoxAsAsked) {
    FakeServices fakes;
    fakes.messageBoxes.defaultAnswer = false;
    GetParam().show();
    ASSERT_EQ(fakes.messageBoxes.shown.size(), 1u);
    const Message& shown = fakes.messageBoxes.shown.front();
    EXPECT_EQ(shown.text, GetParam().expected.text);
    EXPECT_EQ(shown.title, GetParam().expected.title);
    EXPECT_EQ(shown.buttons, GetParam().expected.buttons);
    EXPECT_EQ(shown.icon, GetParam().expected.icon);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, MessageBoxHelpers,
    ::testing::Values(
        MessageCase{"Information",
                    [] {
                        MessageBoxes().Information(nullptr, QStringLiteral("请输入项目ID或关键字"));
                        return true;
                    },
                    {nullptr, QStringLiteral("请输入项目ID或关键字"), QStringLiteral("信息："),
                     MessageButtons::Ok, MessageIcon::Question}},
        MessageCase{"YesNo",
                    [] { return MessageBoxes().YesNo(nullptr, QStringLiteral("确定释放？")); },
                    {nullptr, QStringLiteral("确定释放？"), QStringLiteral("信息："),
                     MessageButtons::YesNo, MessageIcon::Question}},
        MessageCase{"OkCancelWithoutIcon",
                    [] {
                        return MessageBoxes().OkCancel(nullptr, QStringLiteral("退出用户端"),
                                                       MessageBoxService::DefaultTitle(),
                                                       MessageIcon::None);
                    },
                    {nullptr, QStringLiteral("退出用户端"), QStringLiteral("信息："),
                     MessageButtons::OkCancel, MessageIcon::None}},
        MessageCase{"PlainWithTitle",
                    [] {
                        MessageBoxes().Plain(nullptr, QStringLiteral("请联系客服"),
                                             QStringLiteral("安全提示"));
                        return true;
                    },
                    {nullptr, QStringLiteral("请联系客服"), QStringLiteral("安全提示"),
                     MessageButtons::Ok, MessageIcon::None}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageBoxes, AnswerReachesTheCaller) {
    FakeServices fakes;
    fakes.messageBoxes.answers = {true, false};
    EXPECT_TRUE(MessageBoxes().YesNo(nullptr, QStringLiteral("a")));
    EXPECT_FALSE(MessageBoxes().YesNo(nullptr, QStringLiteral("b")));
}

TEST(MessageBoxes, BoxAskedForByAWorkerIsShownOnTheUiThread) {
    FakeServices fakes;
    QThread* shownOn = nullptr;
    fakes.messageBoxes.onShow = [&](const Message&) { shownOn = QThread::currentThread(); };
    LambdaWorker worker(
        [](LambdaWorker&) { MessageBoxes().Information(nullptr, QStringLiteral("完成")); });
    worker.Start();
    ASSERT_TRUE(WaitOnUi([&] { return worker.Finished(); }));
    EXPECT_EQ(shownOn, QThread::currentThread());
    EXPECT_EQ(fakes.messageBoxes.Texts(), QStringList{QStringLiteral("完成")});
}

// The real box, answered by pressing its button once it is up.
struct RealBoxCase {
    const char* name;
    MessageButtons buttons;
    MessageIcon icon;
    QMessageBox::StandardButtons expectedButtons;
    QMessageBox::Icon expectedIcon;
    QMessageBox::StandardButton press;
    bool expectedAnswer;
};

// Hands the first real message box that opens to `act`, which must close it.
void OnFirstBox(QTimer& poll, std::function<void(QMessageBox*)> act) {
    QObject::connect(&poll, &QTimer::timeout, [&poll, act = std::move(act)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        poll.stop();
        act(box);
    });
    poll.start(10);
}

class RealMessageBox : public ::testing::TestWithParam<RealBoxCase> {};

TEST_P(RealMessageBox, HasTitleIconButtonsAndAnswers) {
    const RealBoxCase& c = GetParam();
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QTimer poll;
    OnFirstBox(poll, [&](QMessageBox* box) {
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(c.press)->click();
    });
    const bool answer = MessageBoxes().Show({nullptr, QStringLiteral("退出用户端"),
                                             MessageBoxService::DefaultTitle(), c.buttons, c.icon});
    EXPECT_EQ(title, QStringLiteral("信息："));
    EXPECT_EQ(icon, c.expectedIcon);
    EXPECT_EQ(buttons, c.expectedButtons);
    EXPECT_EQ(answer, c.expectedAnswer);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RealMessageBox,
    ::testing::Values(RealBoxCase{"Ok", MessageButtons::Ok, MessageIcon::Question, QMessageBox::Ok,
                                  QMessageBox::Question, QMessageBox::Ok, true},
                      RealBoxCase{"Yes", MessageButtons::YesNo, MessageIcon::Question,
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Question,
                                  QMessageBox::Yes, true},
                      RealBoxCase{"No", MessageButtons::YesNo, MessageIcon::Question,
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Question,
                                  QMessageBox::No, false},
                      RealBoxCase{"Cancel", MessageButtons::OkCancel, MessageIcon::None,
                                  QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoIcon,
                                  QMessageBox::Cancel, false}),
    [](const auto& info) { return std::string(info.param.name); });

// What the real box shows for a platform reply: its characters as they came,
// never rendered as markup, and cut when no message could be that long.
struct ShownTextCase {
    const char* name;
    QString reply;
    QString expected;
};

void PrintTo(const ShownTextCase& c, std::ostream* os) {
    *os << c.name;
}

class RealMessageBoxText : public ::testing::TestWithParam<ShownTextCase> {};

TEST_P(RealMessageBoxText, ShowsTheReplyAsPlainText) {
    const ShownTextCase& c = GetParam();
    Qt::TextFormat boxFormat = Qt::AutoText;
    Qt::TextFormat labelFormat = Qt::AutoText;
    QString labelText;
    bool seen = false;
    QTimer poll;
    OnFirstBox(poll, [&](QMessageBox* box) {
        seen = true;
        boxFormat = box->textFormat();
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            labelFormat = label->textFormat();
            labelText = label->text();
        }
        box->button(QMessageBox::Ok)->click();
    });
    MessageBoxes().Information(nullptr, c.reply);
    ASSERT_TRUE(seen);
    EXPECT_EQ(boxFormat, Qt::PlainText);
    EXPECT_EQ(labelFormat, Qt::PlainText);
    EXPECT_EQ(labelText, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, RealMessageBoxText,
    ::testing::Values(
        ShownTextCase{"Markup", QStringLiteral("<b>x</b><img src=\"/etc/passwd\">"),
                      QStringLiteral("<b>x</b><img src=\"/etc/passwd\">")},
        ShownTextCase{
            "ProxyErrorPage",
            QStringLiteral("<html><body><h1>502 Bad Gateway</h1><br>nginx</body></html>"),
            QStringLiteral("<html><body><h1>502 Bad Gateway</h1><br>nginx</body></html>")},
        ShownTextCase{"ExactlyTheLimit", QStringLiteral("a").repeated(4000),
                      QStringLiteral("a").repeated(4000)},
        ShownTextCase{"HundredThousandCharacters", QStringLiteral("错").repeated(100000),
                      QStringLiteral("错").repeated(4000) + QStringLiteral("…")},
        ShownTextCase{"ZeroBytes", QString::fromUtf16(u"余额不足\0\0<i>1</i>", 13),
                      QString::fromUtf16(u"余额不足\0\0<i>1</i>", 13)},
        ShownTextCase{"LongWithZeroBytes", QString(QChar(0)).repeated(100000),
                      QString(QChar(0)).repeated(4000) + QStringLiteral("…")},
        ShownTextCase{
            "InvalidGbk", FromGbk(QByteArray("\xff\xff<b>\xd6", 6)),
            QString(QChar(0xFFFD)) + QChar(0xFFFD) + QStringLiteral("<b>") + QChar(0xFFFD)},
        ShownTextCase{"LongInvalidGbk", FromGbk(QByteArray(100000, '\xff')),
                      QString(QChar(0xFFFD)).repeated(4000) + QStringLiteral("…")},
        // A character of two UTF-16 units across the cut is left out whole.
        ShownTextCase{"CutBeforeASurrogatePair",
                      QStringLiteral("a").repeated(3999) + QStringLiteral("😀") +
                          QStringLiteral("b").repeated(10),
                      QStringLiteral("a").repeated(3999) + QStringLiteral("…")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Clipboard, TextSetByAWorkerIsOnTheSystemClipboard) {
    LambdaWorker worker([](LambdaWorker&) { Clipboard().SetText(QStringLiteral("13812345678")); });
    worker.Start();
    ASSERT_TRUE(WaitOnUi([&] { return worker.Finished(); }));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("13812345678"));
    EXPECT_EQ(Clipboard().Text(), QStringLiteral("13812345678"));
}

TEST(ModalOpener, ReturnsWhenTheWindowIsDestroyedAndBlocksOthersMeanwhile) {
    QPointer<QWidget> window = new QWidget;
    bool wasModal = false;
    QTimer::singleShot(50, [&] {
        wasModal = window && window->isVisible() && QApplication::activeModalWidget() == window;
        window->close();  // closing destroys it
    });
    ModalWindows().OpenModal(window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(wasModal);
    EXPECT_TRUE(window.isNull());
}

}  // namespace
}  // namespace lanxun
