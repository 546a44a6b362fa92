#include "platform/on_ui_thread.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <memory>

#include "platform/hand_over.h"
#include "platform/worker.h"

namespace lanxun {
namespace {

// One queued access. `phase` decides, without a lock, whether the UI thread
// runs it or the waiting worker gives it up; whoever moves it off Pending wins.
struct QueuedAccess {
    enum Phase { Pending, Running, GivenUp };
    std::atomic<int> phase{Pending};
    bool done = false;  // guarded by signal->mutex
    std::shared_ptr<WakeSignal> signal;
};

}  // namespace

bool OnUiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

bool RunOnUiThread(const std::function<void()>& access) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || OnUiThread()) {
        access();
        return true;
    }

    auto queued = std::make_shared<QueuedAccess>();
    queued->signal = Worker::CurrentWakeSignal();
    {
        PostingHandOver handOver;
        QMetaObject::invokeMethod(
            app,
            [queued, &access] {
                TakeHandOver();
                int expected = QueuedAccess::Pending;
                if (!queued->phase.compare_exchange_strong(expected, QueuedAccess::Running)) {
                    return;  // the worker gave up and `access` may be gone
                }
                access();
                std::lock_guard lock(queued->signal->mutex);
                queued->done = true;
                queued->signal->wake.notify_all();
            },
            Qt::QueuedConnection);
    }

    WakeSignal& signal = *queued->signal;
    std::unique_lock lock(signal.mutex);
    signal.wake.wait(lock, [&] { return queued->done || signal.stopRequested; });
    if (queued->done) {
        return true;
    }
    int expected = QueuedAccess::Pending;
    if (queued->phase.compare_exchange_strong(expected, QueuedAccess::GivenUp)) {
        return false;
    }
    // Already running on the UI thread: it uses our stack, so wait for its end.
    signal.wake.wait(lock, [&] { return queued->done; });
    return true;
}

}  // namespace lanxun
