#include "Support/RepeatingTimer.h"

namespace cohortex {

RepeatingTimer::RepeatingTimer(MainQueue& queue, double intervalSeconds, std::function<void()> work)
    : m_queue(queue)
    , m_interval(intervalSeconds)
    , m_work(std::move(work))
{
    scheduleNext();
}

RepeatingTimer::~RepeatingTimer()
{
    m_next.cancel();
}

void RepeatingTimer::scheduleNext()
{
    // Each firing schedules the next one from its own time, as a run-loop timer does; the virtual clock
    // runs it exactly on the interval.
    std::weak_ptr<bool> alive = m_alive;
    m_next = m_queue.postAfter(m_interval, [this, alive] {
        if (alive.expired())
            return;
        // A copy, because the work may destroy the timer and with it m_work while it runs.
        auto work = m_work;
        work();
        if (!alive.expired())
            scheduleNext();
    });
}

} // namespace cohortex
