#pragma once

#include "Support/CallbackAwaitable.h"
#include "Support/MainQueue.h"
#include "Support/QueueAwaitable.h"

#include <coroutine>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace cohortex {

// A coroutine's shared result. How a Task behaves, and what its callers must keep in mind:
//
// - It starts at once: calling the coroutine function runs its body up to the first suspension.
// - Its frame owns itself. The body runs to completion even when every Task handle was dropped
//   ("start the save and move on"), and the frame is freed when the body finishes; only the result
//   lives on, shared by the handles. A body that waits for something that never comes — a callback
//   that is never called, a queue destroyed with the work still on it — stays suspended and its frame
//   is never freed, just as a dropped GLib callback leaks its user data.
// - Any number of coroutines may co_await the same task (several callers waiting for one store to be
//   prepared). When it finishes, each is resumed in the order it began waiting, through the MainQueue
//   that was current when the task was created — never inside the code that completed it. Awaiting a
//   finished task does not suspend. co_await yields a copy of the result, so T must be copyable.
// - Plain code reads a finished task with isDone() and result(), or asks for onDone(), which is
//   posted to the queue as well.
// - A body that throws terminates the program. Failures travel as values (Expected<T>), and an
//   exception stored in a task that nobody awaits would vanish without a trace.
//
// After every co_await the world may have changed, including the object that started the coroutine
// having been destroyed. A member coroutine therefore takes a weak liveness token as a parameter,
// which is copied into the frame, and checks it after every suspension before touching `this`:
//
//     Task<> Saver::saveLater(std::weak_ptr<void> alive)   // called as saveLater(m_alive)
//     {
//         co_await delay(m_queue, 1.5);
//         if (alive.expired())
//             co_return;
//         ...
//     }
//
// For the same reason a coroutine takes its parameters by value, and a coroutine lambda has no
// captures: captures live in the lambda object, which is usually gone by the first resumption, while
// parameters are copied into the frame.
template <typename T = void>
class Task;

namespace detail {

template <typename T>
struct TaskCallback {
    using Type = std::function<void(const T&)>;
};
template <>
struct TaskCallback<void> {
    using Type = std::function<void()>;
};

// The part of a task's shared state that does not depend on the result type.
class TaskStateBase {
public:
    explicit TaskStateBase(MainQueue& queue)
        : m_queue(queue)
    {
    }

    bool isDone() const { return m_isDone; }
    // Posts the continuation once the task is done, at once if it already is.
    void whenDone(std::function<void()> continuation);
    void finish();

private:
    MainQueue& m_queue;
    bool m_isDone{ false };
    std::vector<std::function<void()>> m_continuations;
};

// A void task stores an empty marker, so that one state type serves every task.
template <typename T>
using TaskResult = std::conditional_t<std::is_void_v<T>, std::monostate, T>;

template <typename T>
struct TaskState : TaskStateBase {
    using TaskStateBase::TaskStateBase;
    std::optional<TaskResult<T>> value;
};

template <typename T>
class TaskPromiseBase {
public:
    TaskPromiseBase()
        : m_state(std::make_shared<TaskState<T>>(MainQueue::requireCurrent()))
    {
    }

    Task<T> get_return_object() { return Task<T>(m_state); }
    std::suspend_never initial_suspend() noexcept { return {}; }
    // Not suspending at the end is what makes the frame free itself.
    std::suspend_never final_suspend() noexcept { return {}; }
    void unhandled_exception() noexcept { std::terminate(); }

protected:
    std::shared_ptr<TaskState<T>> m_state;
};

template <typename T>
class TaskPromise : public TaskPromiseBase<T> {
public:
    // The default argument lets `co_return { ... };` build a T from a braced list.
    template <typename U = T>
    void return_value(U&& value)
    {
        this->m_state->value.emplace(std::forward<U>(value));
        this->m_state->finish();
    }
};

template <>
class TaskPromise<void> : public TaskPromiseBase<void> {
public:
    void return_void()
    {
        m_state->value.emplace();
        m_state->finish();
    }
};

} // namespace detail

template <typename T>
class Task {
    static_assert(!std::is_reference_v<T>, "A task shares its result by value");

public:
    using promise_type = detail::TaskPromise<T>;
    using DoneCallback = typename detail::TaskCallback<T>::Type;

    // An empty handle, for a member that holds a task only some of the time.
    Task() = default;

    bool isValid() const { return m_state != nullptr; }
    bool isDone() const { return m_state && m_state->isDone(); }

    // The result of a finished task; it stays valid while this handle lives.
    const detail::TaskResult<T>& result() const requires(!std::is_void_v<T>) { return *m_state->value; }

    // Calls back with the result once the task is done, posted to the task's queue even when it
    // already is done, so the callback never runs inside the caller.
    void onDone(DoneCallback callback) const
    {
        m_state->whenDone([state = m_state, callback = std::move(callback)] {
            if constexpr (std::is_void_v<T>)
                callback();
            else
                callback(*state->value);
        });
    }

    class Awaiter {
    public:
        explicit Awaiter(std::shared_ptr<detail::TaskState<T>> state)
            : m_state(std::move(state))
        {
        }

        bool await_ready() const noexcept { return m_state->isDone(); }
        void await_suspend(std::coroutine_handle<> waiting) const
        {
            m_state->whenDone([waiting] { waiting.resume(); });
        }
        T await_resume() const
        {
            if constexpr (!std::is_void_v<T>)
                return *m_state->value;
        }

    private:
        std::shared_ptr<detail::TaskState<T>> m_state;
    };

    Awaiter operator co_await() const { return Awaiter(m_state); }

private:
    friend class detail::TaskPromiseBase<T>;

    explicit Task(std::shared_ptr<detail::TaskState<T>> state)
        : m_state(std::move(state))
    {
    }

    std::shared_ptr<detail::TaskState<T>> m_state;
};

} // namespace cohortex
