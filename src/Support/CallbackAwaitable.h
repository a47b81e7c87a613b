#pragma once

#include "Support/MainQueue.h"

#include <coroutine>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

namespace cohortex {

namespace detail {

template <typename T>
struct ResumeCallback {
    using Type = std::function<void(T)>;
};
template <>
struct ResumeCallback<void> {
    using Type = std::function<void()>;
};

} // namespace detail

// Turns a callback-style asynchronous call into something a coroutine can co_await. This is how the
// GLib and WebKit edges wrap their `_async`/`_finish` pairs:
//
//     auto cookies = co_await awaitCallback<CookieList>([&](auto resume) {
//         startListingCookies(std::move(resume));   // calls resume(list) later, from the main loop
//     });
//
// The start function runs when the coroutine suspends. The coroutine is resumed by posting to the
// queue, even when resume is called before the start function returns. Only the first call of resume
// counts; later calls are ignored. If resume is never called, the coroutine stays suspended and its
// frame is never freed, just as a dropped GLib callback leaks its user data.
template <typename T>
class [[nodiscard]] CallbackAwaitable {
public:
    using Resume = typename detail::ResumeCallback<T>::Type;

    CallbackAwaitable(MainQueue& queue, std::function<void(Resume)> start)
        : m_state(std::make_shared<State>(queue))
        , m_start(std::move(start))
    {
    }

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> waiting)
    {
        m_state->waiting = waiting;
        std::exchange(m_start, nullptr)(makeResume(m_state));
    }
    T await_resume()
    {
        if constexpr (!std::is_void_v<T>)
            return std::move(*m_state->value);
    }

private:
    // Shared with the resume callback, which may outlive the coroutine (a second, ignored call).
    struct State {
        explicit State(MainQueue& queue)
            : queue(queue)
        {
        }

        MainQueue& queue;
        std::coroutine_handle<> waiting;
        bool wasResumed{ false };
        std::optional<std::conditional_t<std::is_void_v<T>, std::monostate, T>> value;
    };

    template <typename... Value>
    static void resume(const std::shared_ptr<State>& state, Value&&... value)
    {
        if (state->wasResumed)
            return;
        state->wasResumed = true;
        state->value.emplace(std::forward<Value>(value)...);
        state->queue.post([state] { state->waiting.resume(); });
    }

    static Resume makeResume(std::shared_ptr<State> state)
    {
        if constexpr (std::is_void_v<T>)
            return [state = std::move(state)] { resume(state); };
        else
            return [state = std::move(state)](T value) { resume(state, std::move(value)); };
    }

    std::shared_ptr<State> m_state;
    std::function<void(Resume)> m_start;
};

// Resumes through the queue that is current when the awaitable is made.
template <typename T = void, typename Start>
CallbackAwaitable<T> awaitCallback(Start&& start)
{
    return CallbackAwaitable<T>(MainQueue::requireCurrent(), std::forward<Start>(start));
}

template <typename T = void, typename Start>
CallbackAwaitable<T> awaitCallback(MainQueue& queue, Start&& start)
{
    return CallbackAwaitable<T>(queue, std::forward<Start>(start));
}

} // namespace cohortex
