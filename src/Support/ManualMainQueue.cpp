#include "Support/ManualMainQueue.h"

#include "Support/Log.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace cohortex {

namespace {

constexpr double ticksPerSecond = 1e6;

} // namespace

struct ManualMainQueue::Item {
    std::function<void()> work;
    Cancellable handle;
};

ManualMainQueue::ManualMainQueue(Date start)
    : m_start(start)
{
}

ManualMainQueue::~ManualMainQueue() = default;

ManualMainQueue::Ticks ManualMainQueue::ticksFromSeconds(double seconds)
{
    return std::llround(std::max(seconds, 0.0) * ticksPerSecond);
}

void ManualMainQueue::post(std::function<void()> work)
{
    postAfter(0, std::move(work));
}

Cancellable ManualMainQueue::postAfter(double seconds, std::function<void()> work)
{
    auto item = std::make_shared<Item>();
    item->work = std::move(work);
    // Cancelling releases the work at once, so that what it captured dies when a test expects it to,
    // not when the clock would have reached it. The weak reference keeps a handle that outlives the
    // queue from reaching into it.
    item->handle = Cancellable::withCancelHandler([weakItem = std::weak_ptr<Item>(item)] {
        if (auto item = weakItem.lock())
            item->work = nullptr;
    });
    auto handle = item->handle;
    m_items.emplace(m_elapsed + ticksFromSeconds(seconds), std::move(item));
    return handle;
}

void ManualMainQueue::runOffMainThread(std::function<void()> work, std::function<void()> done)
{
    post([work = std::move(work), done = std::move(done)] {
        work();
        done();
    });
}

Date ManualMainQueue::now() const
{
    return m_start.adding(static_cast<double>(m_elapsed) / ticksPerSecond);
}

void ManualMainQueue::advance(double seconds)
{
    if (m_isRunning) {
        // Running the clock from inside running work would run later work before this one finished.
        logError("ManualMainQueue::advance was called from work that the queue is running");
        std::abort();
    }
    auto end = m_elapsed + ticksFromSeconds(seconds);
    while (runNextDueBy(end)) { }
    m_elapsed = end;
}

bool ManualMainQueue::runNextDueBy(Ticks end)
{
    auto next = m_items.begin();
    if (next == m_items.end() || next->first > end)
        return false;
    auto [due, item] = std::move(*next);
    m_items.erase(next);
    if (!item->work)
        return true;
    m_elapsed = due;
    item->handle.markStarted();
    auto work = std::move(item->work);
    m_isRunning = true;
    work();
    m_isRunning = false;
    return true;
}

std::size_t ManualMainQueue::pendingCount() const
{
    std::size_t count = 0;
    for (auto& [due, item] : m_items) {
        if (item->work)
            ++count;
    }
    return count;
}

} // namespace cohortex
