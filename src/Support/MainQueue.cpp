#include "Support/MainQueue.h"

#include "Support/Log.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace cohortex {

struct Cancellable::State {
    bool isCancelled{ false };
    bool hasStarted{ false };
    std::function<void()> onCancel;
};

void Cancellable::cancel()
{
    if (!m_state || m_state->isCancelled || m_state->hasStarted)
        return;
    m_state->isCancelled = true;
    // Moving the handler out makes it run at most once and releases what it captured right away.
    auto onCancel = std::move(m_state->onCancel);
    if (onCancel)
        onCancel();
}

bool Cancellable::isCancelled() const
{
    return m_state && m_state->isCancelled;
}

Cancellable Cancellable::withCancelHandler(std::function<void()> onCancel)
{
    Cancellable handle;
    handle.m_state = std::make_shared<State>();
    handle.m_state->onCancel = std::move(onCancel);
    return handle;
}

void Cancellable::markStarted()
{
    if (!m_state)
        return;
    m_state->hasStarted = true;
    m_state->onCancel = nullptr;
}

namespace {

// Queues are registered per thread so that a test can build its own queue without touching one that
// another part of the process uses. The list is short: normally one queue, two while a test nests.
std::vector<MainQueue*>& registeredQueues()
{
    thread_local std::vector<MainQueue*> queues;
    return queues;
}

} // namespace

MainQueue::MainQueue()
{
    registeredQueues().push_back(this);
}

MainQueue::~MainQueue()
{
    // Queues usually die in reverse order of construction, but erasing by identity keeps the
    // registry right when they do not.
    auto& queues = registeredQueues();
    if (auto it = std::find(queues.rbegin(), queues.rend(), this); it != queues.rend())
        queues.erase(std::next(it).base());
}

MainQueue* MainQueue::current()
{
    auto& queues = registeredQueues();
    return queues.empty() ? nullptr : queues.back();
}

MainQueue& MainQueue::requireCurrent()
{
    if (auto* queue = current())
        return *queue;
    logError("No main queue exists on this thread; asynchronous work cannot be scheduled");
    std::abort();
}

} // namespace cohortex
