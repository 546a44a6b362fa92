#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
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
    bool stopRequested = false;        // guarded by mutex
    std::function<void()> endRequest;  // guarded by mutex: ends the request in flight, if any
};

// A background routine on a thread of its own. Subclasses put the routine in
// Run(); long routines check StopRequested() and wait through Pause(), which
// returns at once when a stop is requested. The product starts workers and
// leaves them running; tests and the owner's destruction stop them. A subclass
// whose Run() uses members of its own calls Stop() in its destructor, before
// they go.
class Worker {
public:
    // The name every worker thread carries (as in /proc/self/task/*/comm).
    static constexpr char kThreadName[] = "lanxun-worker";

    Worker();
    virtual ~Worker();  // stops and waits, so the routine never outlives its objects

    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // Starts the thread; a second call does nothing.
    void Start();
    // Sets the stop flag, wakes the routine from any pause and ends its request in
    // flight, without waiting. An owner of several workers flags them all first and
    // then waits for each, so that their stops overlap.
    void RequestStop();
    // RequestStop(), then waits for the thread. From the worker's own thread it only
    // sets the flag.
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

// A worker that runs one function.
class FunctionWorker final : public Worker {
public:
    explicit FunctionWorker(std::function<void()> routine) : routine_(std::move(routine)) {}
    ~FunctionWorker() override { Stop(); }

protected:
    void Run() override { routine_(); }

private:
    std::function<void()> routine_;
};

// Ties a request to the worker that makes it, for as long as this object lives: a
// stop of that worker calls `end` (from the stopping thread), and a worker already
// told to stop is refused, so that it sends nothing more. On a thread that is not a
// worker it does nothing and never refuses.
class RequestOfWorker {
public:
    explicit RequestOfWorker(std::function<void()> end);
    ~RequestOfWorker();
    RequestOfWorker(const RequestOfWorker&) = delete;
    RequestOfWorker& operator=(const RequestOfWorker&) = delete;

    // The worker was stopping already: the request must not go out.
    bool Refused() const { return refused_; }

private:
    std::shared_ptr<WakeSignal> signal_;  // null off a worker or when refused
    bool refused_ = false;
};

}  // namespace lanxun
