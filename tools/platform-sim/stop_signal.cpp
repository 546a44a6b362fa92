#include "stop_signal.h"

#include <fcntl.h>
#include <unistd.h>

namespace platformsim {

StopSignal::StopSignal() {
    if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        pipe_[0] = pipe_[1] = -1;
    }
}

StopSignal::~StopSignal() {
    for (int fd : pipe_) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

void StopSignal::Raise() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (raised_.exchange(true)) {
            return;
        }
    }
    changed_.notify_all();
    if (pipe_[1] >= 0) {
        const char byte = 1;
        // The byte is never read, so the pipe stays readable for every later poll().
        [[maybe_unused]] ssize_t written = write(pipe_[1], &byte, 1);
    }
}

bool StopSignal::SleepFor(std::chrono::milliseconds duration) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !changed_.wait_for(lock, duration, [this] { return raised_.load(); });
}

}  // namespace platformsim
