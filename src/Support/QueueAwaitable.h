#pragma once

#include "Support/CallbackAwaitable.h"
#include "Support/MainQueue.h"

#include <algorithm>
#include <coroutine>
#include <memory>
#include <optional>
#include <type_traits>

namespace cohortex {

// Suspends the awaiting coroutine and resumes it from the queue: after a delay, or on the queue's
// next turn. It cannot be cancelled; a coroutine that must stop waiting early awaits a
// CallbackAwaitable and keeps its own Cancellable instead. If the queue is destroyed first, the
// coroutine is never resumed.
class [[nodiscard]] QueueAwaitable {
public:
    // Without a delay the coroutine resumes on the queue's next turn, after the work already posted.
    QueueAwaitable(MainQueue& queue, std::optional<double> seconds)
        : m_queue(queue)
        , m_seconds(seconds)
    {
    }

    // Even a zero delay suspends: callers use it to let the work already queued run first.
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> waiting) const
    {
        if (m_seconds)
            m_queue.postAfter(*m_seconds, [waiting] { waiting.resume(); });
        else
            m_queue.post([waiting] { waiting.resume(); });
    }
    void await_resume() const noexcept { }

private:
    MainQueue& m_queue;
    std::optional<double> m_seconds;
};

// `co_await delay(queue, 1.5);` resumes once 1.5 seconds have passed on the queue's clock.
inline QueueAwaitable delay(MainQueue& queue, double seconds)
{
    return QueueAwaitable(queue, std::max(seconds, 0.0));
}

// `co_await nextTurn(queue);` resumes after the work already posted.
inline QueueAwaitable nextTurn(MainQueue& queue)
{
    return QueueAwaitable(queue, std::nullopt);
}

// Runs the function on a worker thread (MainQueue::runOffMainThread) and resumes with its result on the
// queue. Make the awaitable before awaiting it, as g++ 12 destroys a lambda with captures twice when it
// is a temporary of the co_await expression:
//
//     auto reading = offMainThread(queue, [file] { return read(file); });
//     auto bytes = co_await reading;
template <typename Function>
CallbackAwaitable<std::invoke_result_t<Function>> offMainThread(MainQueue& queue, Function work)
{
    using Result = std::invoke_result_t<Function>;
    return CallbackAwaitable<Result>(queue, [&queue, work = std::move(work)](auto resume) mutable {
        auto result = std::make_shared<std::optional<Result>>();
        queue.runOffMainThread([work = std::move(work), result]() mutable { result->emplace(work()); },
            [result, resume = std::move(resume)] { resume(std::move(**result)); });
    });
}

} // namespace cohortex
