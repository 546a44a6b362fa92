#pragma once

// One stop flag for every listener and connection of a running sim: waits on
// a condition variable for delays, and a pipe whose read end becomes readable
// so that connections blocked in poll() wake up at once.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platformsim {

class StopSignal {
public:
    StopSignal();
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    void Raise();
    bool Raised() const { return raised_.load(); }
    // Sleeps up to `duration`; false when the stop came first.
    bool SleepFor(std::chrono::milliseconds duration);
    // Readable once Raise() was called; for poll().
    int WakeFd() const { return pipe_[0]; }

private:
    std::atomic<bool> raised_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    int pipe_[2] = {-1, -1};
};

}  // namespace platformsim
