#include "Support/Task.h"

namespace cohortex::detail {

void TaskStateBase::whenDone(std::function<void()> continuation)
{
    if (m_isDone) {
        m_queue.post(std::move(continuation));
        return;
    }
    m_continuations.push_back(std::move(continuation));
}

void TaskStateBase::finish()
{
    m_isDone = true;
    // Each waiter gets its own turn on the queue, in the order it began waiting. Moving the list out
    // also breaks the reference cycle between this state and the continuations that hold it.
    auto continuations = std::exchange(m_continuations, {});
    for (auto& continuation : continuations)
        m_queue.post(std::move(continuation));
}

} // namespace cohortex::detail
