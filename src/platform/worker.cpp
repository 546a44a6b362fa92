#include "platform/worker.h"

#include <pthread.h>

#include <chrono>

#include "platform/clock.h"

namespace lanxun {
namespace {
thread_local Worker* currentWorker = nullptr;
}

Worker::Worker() : signal_(std::make_shared<WakeSignal>()) {}

Worker::~Worker() {
    Stop();
}

void Worker::Start() {
    if (thread_.joinable()) {
        return;
    }
    thread_ = std::thread([this] {
        // Named, so that a debugger, top -H and the tests tell the client's workers apart.
        pthread_setname_np(pthread_self(), kThreadName);
        currentWorker = this;
        if (!StopRequested()) {
            Run();
        }
        currentWorker = nullptr;
        finished_.store(true);
    });
}

void Worker::RequestStop() {
    {
        std::lock_guard lock(signal_->mutex);
        signal_->stopRequested = true;
        // Under the lock: the request cannot end (and its objects go) meanwhile.
        if (signal_->endRequest) {
            signal_->endRequest();
        }
    }
    signal_->wake.notify_all();
}

void Worker::Stop() {
    RequestStop();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) {
        thread_.join();
    }
}

bool Worker::StopRequested() const {
    std::lock_guard lock(signal_->mutex);
    return signal_->stopRequested;
}

bool Worker::Pause(int ms) {
    const auto until =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(CurrentClock().RealMs(ms));
    std::unique_lock lock(signal_->mutex);
    signal_->wake.wait_until(lock, until, [this] { return signal_->stopRequested; });
    return !signal_->stopRequested;
}

Worker* Worker::Current() {
    return currentWorker;
}

std::shared_ptr<WakeSignal> Worker::CurrentWakeSignal() {
    return currentWorker ? currentWorker->signal_ : std::make_shared<WakeSignal>();
}

RequestOfWorker::RequestOfWorker(std::function<void()> end) {
    if (!currentWorker) {
        return;
    }
    std::shared_ptr<WakeSignal> signal = Worker::CurrentWakeSignal();
    std::lock_guard lock(signal->mutex);
    if (signal->stopRequested) {
        refused_ = true;
        return;
    }
    signal->endRequest = std::move(end);
    signal_ = std::move(signal);
}

RequestOfWorker::~RequestOfWorker() {
    if (signal_) {
        std::lock_guard lock(signal_->mutex);
        signal_->endRequest = nullptr;
    }
}

}  // namespace lanxun
