#pragma once

#include "Support/MainQueue.h"

#include <cstddef>
#include <cstdint>
#include <map>

namespace cohortex {

// The virtual clock of unit tests: nothing runs until the test advances time, and then the due work
// runs in order, so timers and debounces are tested exactly and without sleeping.
//
// Time is kept in whole microseconds from the start so that advancing by 0.2 s and then 0.25 s lands
// exactly on work posted 0.45 s ahead; adding doubles would miss it by a rounding error.
class ManualMainQueue final : public MainQueue {
public:
    explicit ManualMainQueue(Date start = Date(800000000));
    ~ManualMainQueue() override;

    void post(std::function<void()> work) override;
    Cancellable postAfter(double seconds, std::function<void()> work) override;
    Date now() const override;
    // Runs the work and then `done` on the queue's next turn, on the test's own thread, so that what
    // happens in between stays exactly repeatable.
    void runOffMainThread(std::function<void()> work, std::function<void()> done) override;

    // Runs, in order of due time (ties in posting order), every item due up to now + seconds,
    // including items posted meanwhile that fall due in that window. While an item runs, now() is its
    // due time; afterwards now() is the end of the window. Must not be called from running work.
    void advance(double seconds);
    // Runs everything due now, including the work that it posts for now.
    void runPending() { advance(0); }
    // Items that have neither run nor been cancelled.
    std::size_t pendingCount() const;

private:
    struct Item;
    using Ticks = std::int64_t;

    static Ticks ticksFromSeconds(double seconds);
    bool runNextDueBy(Ticks end);

    Date m_start;
    Ticks m_elapsed{ 0 };
    bool m_isRunning{ false };
    // A multimap keeps items with the same due time in the order they were inserted.
    std::multimap<Ticks, std::shared_ptr<Item>> m_items;
};

} // namespace cohortex
