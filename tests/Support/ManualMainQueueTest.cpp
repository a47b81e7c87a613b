#include "Support/ManualMainQueue.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace cohortex {
namespace {

class ManualMainQueueTest : public ::testing::Test {
protected:
    // Records the item's name and how far the clock had moved when it ran.
    std::function<void()> record(std::string name)
    {
        return [this, name] { runs.push_back(name + "@" + std::to_string(elapsedMilliseconds())); };
    }
    long elapsedMilliseconds() const { return std::lround(queue.now().secondsSince(Date(800000000)) * 1000); }

    ManualMainQueue queue;
    std::vector<std::string> runs;
};

// Work posted while running runs later in the same window, never inline; ties keep posting order.
TEST_F(ManualMainQueueTest, RunsDueWorkByDueTimeAndWorkPostedWhileRunningAfterIt)
{
    queue.postAfter(1, [this] {
        runs.push_back("outer");
        queue.post(record("posted now"));
        queue.postAfter(0.5, record("due inside"));
        queue.postAfter(3, record("due outside"));
    });
    queue.postAfter(1, record("tie"));
    queue.post(record("first"));
    queue.postAfter(-3, record("negative"));
    queue.postAfter(1.2, record("already queued"));

    // Steps that add up reach work exactly.
    queue.advance(0.2);
    queue.advance(0.25);
    for (int step = 0; step < 5; ++step)
        queue.advance(0.11);
    EXPECT_EQ(runs.back(), "posted now@1000");
    queue.advance(1);

    EXPECT_EQ(runs,
        (std::vector<std::string>{ "first@0", "negative@0", "outer", "tie@1000", "posted now@1000",
            "already queued@1200", "due inside@1500" }));
    EXPECT_EQ(queue.pendingCount(), 1u);
    // runPending runs what is due now, chains of it included, but nothing later.
    queue.post([this] { queue.post(record("chained")); });
    queue.runPending();
    EXPECT_EQ(runs.back(), "chained@2000");
    EXPECT_EQ(queue.pendingCount(), 1u);
}

TEST(MainQueueTest, CurrentIsTheNewestLiveQueueOnThisThread)
{
    EXPECT_EQ(MainQueue::current(), nullptr);
    auto outer = std::make_unique<ManualMainQueue>();
    auto second = std::make_unique<ManualMainQueue>();
    EXPECT_EQ(MainQueue::current(), second.get());
    // Destroyed out of order, the survivor stays current and the dead queue is forgotten.
    outer.reset();
    EXPECT_EQ(MainQueue::current(), second.get());
    second.reset();
    EXPECT_EQ(MainQueue::current(), nullptr);
}

} // namespace
} // namespace cohortex
