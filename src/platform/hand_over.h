#pragma once

// Qt's event queue hands a queued call from one thread to another under its own
// locks, which ThreadSanitizer cannot see because Qt is not built with it. In such
// a build the poster holds one plain mutex while it posts, and the call takes the
// same mutex before it touches anything: the tool then sees the order the queue
// already guarantees. In every other build both are empty.

#if defined(__SANITIZE_THREAD__)
#define LANXUN_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define LANXUN_THREAD_SANITIZER 1
#endif
#endif

#ifdef LANXUN_THREAD_SANITIZER
#include <mutex>
#endif

namespace lanxun {

#ifdef LANXUN_THREAD_SANITIZER
inline std::mutex& HandOverMutex() {
    static std::mutex mutex;
    return mutex;
}

// Held around the post of a queued call.
class PostingHandOver {
public:
    PostingHandOver() : lock_(HandOverMutex()) {}

private:
    std::lock_guard<std::mutex> lock_;
};

// The first thing a queued call does.
inline void TakeHandOver() {
    std::lock_guard lock(HandOverMutex());
}
#else
class PostingHandOver {
public:
    PostingHandOver() {}  // user-provided: a guard, not an unused variable
};
inline void TakeHandOver() {}
#endif

}  // namespace lanxun
