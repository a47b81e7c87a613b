#pragma once

#include "Support/MainQueue.h"

#include <functional>
#include <memory>

namespace cohortex {

// Work that runs on the main queue every interval, from one interval after construction until the
// timer is destroyed. Destroying it cancels the next firing, so nothing runs into an owner that has gone;
// the work may destroy the timer itself.
class RepeatingTimer {
public:
    RepeatingTimer(MainQueue&, double intervalSeconds, std::function<void()> work);
    ~RepeatingTimer();
    RepeatingTimer(const RepeatingTimer&) = delete;
    RepeatingTimer& operator=(const RepeatingTimer&) = delete;

private:
    void scheduleNext();

    MainQueue& m_queue;
    double m_interval;
    std::function<void()> m_work;
    Cancellable m_next;
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
