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

TEST_F(ManualMainQueueTest, RunsDueWorkByDueTimeAndTiesInPostingOrder)
{
    queue.postAfter(2, record("c"));
    queue.postAfter(1, record("a"));
    queue.post(record("first"));
    queue.postAfter(1, record("b"));
    queue.postAfter(-3, record("negative"));
    queue.postAfter(5, record("later"));

    queue.advance(2);

    EXPECT_EQ(runs, (std::vector<std::string>{ "first@0", "negative@0", "a@1000", "b@1000", "c@2000" }));
    EXPECT_EQ(elapsedMilliseconds(), 2000);
    EXPECT_EQ(queue.pendingCount(), 1u);
}

TEST_F(ManualMainQueueTest, WorkPostedWhileRunningRunsLaterInTheSameWindowNeverInline)
{
    queue.postAfter(1, [this] {
        runs.push_back("outer start");
        queue.post(record("posted now"));
        queue.postAfter(0.5, record("due inside"));
        queue.postAfter(3, record("due outside"));
        runs.push_back("outer end");
    });
    queue.postAfter(1.2, record("already queued"));

    queue.advance(2);

    EXPECT_EQ(runs,
        (std::vector<std::string>{
            "outer start", "outer end", "posted now@1000", "already queued@1200", "due inside@1500" }));
    EXPECT_EQ(queue.pendingCount(), 1u);
    queue.advance(2);
    EXPECT_EQ(runs.back(), "due outside@4000");
}

TEST_F(ManualMainQueueTest, RunPendingRunsChainsOfImmediateWorkButNothingLater)
{
    queue.post([this] {
        runs.push_back("one");
        queue.post([this] {
            runs.push_back("two");
            queue.post(record("three"));
        });
    });
    queue.postAfter(0.001, record("later"));

    queue.runPending();

    EXPECT_EQ(runs, (std::vector<std::string>{ "one", "two", "three@0" }));
    EXPECT_EQ(queue.pendingCount(), 1u);
}

TEST_F(ManualMainQueueTest, StepsThatAddUpReachWorkExactly)
{
    queue.postAfter(0.45, record("sheet gap"));
    queue.postAfter(1, record("second"));

    queue.advance(0.2);
    queue.advance(0.25);
    EXPECT_EQ(runs, (std::vector<std::string>{ "sheet gap@450" }));

    for (int step = 0; step < 5; ++step)
        queue.advance(0.11);
    EXPECT_EQ(runs.back(), "second@1000");
}

TEST_F(ManualMainQueueTest, CancelledWorkNeverRunsAndReleasesItsCaptures)
{
    auto capture = std::make_shared<int>(0);
    auto handle = queue.postAfter(1, [capture, this] { runs.push_back("cancelled"); });
    // Earlier work may cancel later work due at the same time.
    Cancellable later;
    queue.postAfter(1, [&] { later.cancel(); });
    later = queue.postAfter(1, record("later"));
    queue.postAfter(1, record("kept"));

    handle.cancel();
    EXPECT_TRUE(handle.isCancelled());
    EXPECT_EQ(capture.use_count(), 1);
    queue.advance(1);

    EXPECT_EQ(runs, (std::vector<std::string>{ "kept@1000" }));

    // Cancelling work that already ran, or an empty handle, changes nothing.
    runs.clear();
    Cancellable self;
    self = queue.postAfter(1, [&] {
        self.cancel();
        runs.push_back("ran");
    });
    queue.advance(1);
    self.cancel();
    EXPECT_EQ(runs, (std::vector<std::string>{ "ran" }));
    EXPECT_FALSE(self.isCancelled());

    Cancellable nothing;
    nothing.cancel();
    EXPECT_FALSE(nothing.isCancelled());
    {
        ManualMainQueue shortLived;
        nothing = shortLived.postAfter(1, [] {});
    }
    nothing.cancel();
    EXPECT_TRUE(nothing.isCancelled()) << "a handle that outlives its queue can still be cancelled";
}

TEST(MainQueueTest, CurrentIsTheNewestLiveQueueOnThisThread)
{
    EXPECT_EQ(MainQueue::current(), nullptr);
    auto outer = std::make_unique<ManualMainQueue>();
    EXPECT_EQ(MainQueue::current(), outer.get());
    {
        ManualMainQueue inner;
        EXPECT_EQ(MainQueue::current(), &inner);
    }
    EXPECT_EQ(MainQueue::current(), outer.get());

    // Destroyed out of order, the survivor stays current and the dead queue is forgotten.
    auto second = std::make_unique<ManualMainQueue>();
    outer.reset();
    EXPECT_EQ(MainQueue::current(), second.get());
    second.reset();
    EXPECT_EQ(MainQueue::current(), nullptr);
}

} // namespace
} // namespace cohortex
