#pragma once

#include <functional>
#include <optional>
#include <type_traits>

namespace lanxun {

// True on the thread that runs the windows (the application's thread).
bool OnUiThread();

// Runs one control access on the UI thread and waits until it is done: a
// direct call on the UI thread, a queued call that the caller waits for on any
// other thread. This is the only way a worker touches a widget; each call is one
// single access, so sequences of calls are not atomic.
//
// A worker that is told to stop while its call still waits in the queue gives
// the call up: the function returns false and the access never runs. Once the
// access has begun it always runs to its end.
bool RunOnUiThread(const std::function<void()>& access);

// Reads a value on the UI thread; a value-initialised result when the call was
// given up because the worker is stopping.
template <typename Read>
auto ReadOnUiThread(Read read) -> std::invoke_result_t<Read> {
    using Result = std::invoke_result_t<Read>;
    std::optional<Result> result;
    RunOnUiThread([&] { result.emplace(read()); });
    return result ? std::move(*result) : Result{};
}

}  // namespace lanxun
