#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace lanxun {

// What a waiting worker thread sleeps on: its pauses and its calls to the UI
// thread. Shared, so that a call finishing on the UI thread can still signal it
// after the worker has gone.
struct WakeSignal {
    std::mutex mutex;
    std::condition_variable wake;
    bool stopRequested = false;  // guarded by mutex
};

// A background routine on a thread of its own. Subclasses put the routine in
// Run(); long routines check StopRequested() and wait through Pause(), which
// returns at once when Stop() is called. The product starts workers and leaves
// them running; tests and the owner's destruction stop them. A subclass whose
// Run() uses members of its own calls Stop() in its destructor, before they go.
class Worker {
public:
    Worker();
    virtual ~Worker();  // stops and waits, so the routine never outlives its objects

    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Starts the thread; a second call does nothing.
    void Start();
    // Sets the stop flag, wakes the routine from any pause and waits for the thread.
    // From the worker's own thread it only sets the flag.
    void Stop();

    bool StopRequested() const;
    bool Started() const { return thread_.joinable(); }
    // True once Run() has returned (or was never run after a stop).
    bool Finished() const { return finished_.load(); }

    // Waits `ms` clock milliseconds; false when it returned because of a stop.
    bool Pause(int ms);

    // The worker whose routine runs on the calling thread, or nullptr.
    static Worker* Current();

    // The signal the calling thread waits on; a worker's own, or a fresh one on
    // threads that are not workers.
    static std::shared_ptr<WakeSignal> CurrentWakeSignal();

protected:
    virtual void Run() = 0;

private:
    std::shared_ptr<WakeSignal> signal_;
    std::thread thread_;
    std::atomic<bool> finished_{false};
};

}  // namespace lanxun
