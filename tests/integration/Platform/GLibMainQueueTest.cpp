#include "Platform/Linux/GLibMainQueue.h"

#include "MainLoopWait.h"
#include "Support/Task.h"

#include <atomic>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace cohortex {
namespace {

using Log = std::vector<std::string>;

class GLibMainQueueTest : public ::testing::Test {
protected:
    GLibMainQueue m_queue;
    Log m_log;
};

TEST_F(GLibMainQueueTest, WorkRunsInPostingOrderNeverInsideThePostDelayedAfterItsDelayCancelledNever)
{
    auto start = g_get_monotonic_time();
    double firedAfter = 0;
    auto cancelled = m_queue.postAfter(0.02, [this] { m_log.push_back("cancelled"); });
    m_queue.postAfter(0.05, [&] { firedAfter = secondsSince(start); });
    cancelled.cancel();
    m_queue.post([this] {
        m_log.push_back("a");
        m_queue.post([this] { m_log.push_back("c"); });
        m_log.push_back("a done");
    });
    m_queue.post([this] { m_log.push_back("b"); });
    EXPECT_TRUE(m_log.empty());

    ASSERT_TRUE(runUntil([&] { return firedAfter > 0; }, 0.5));
    EXPECT_EQ(m_log, (Log{ "a", "a done", "b", "c" }));
    EXPECT_GE(firedAfter, 0.05);
    EXPECT_LT(firedAfter, 0.4);
}

// Blocking work (a file on a hung mount, a pipe) must leave the main loop running, and its result must come
// back on the main thread, where everything else lives.
TEST_F(GLibMainQueueTest, WorkOffTheMainThreadLeavesTheLoopRunningAndAnswersOnIt)
{
    auto mainThread = std::this_thread::get_id();
    std::atomic<bool> release{ false };
    auto answer = [](MainQueue& queue, std::atomic<bool>& release) -> Task<std::thread::id> {
        auto working = offMainThread(queue, [&release] {
            while (!release)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return std::this_thread::get_id();
        });
        co_return co_await working;
    }(m_queue, release);
    std::optional<std::thread::id> resumedOn;
    answer.onDone([&](const std::thread::id&) { resumedOn = std::this_thread::get_id(); });

    m_queue.post([this] { m_log.push_back("the loop still runs"); });
    ASSERT_TRUE(runUntil([&] { return !m_log.empty(); }, 0.5));
    EXPECT_FALSE(answer.isDone());
    release = true;
    ASSERT_TRUE(runUntil([&] { return resumedOn.has_value(); }, 2));
    EXPECT_NE(answer.result(), mainThread);
    EXPECT_EQ(*resumedOn, mainThread);
}

} // namespace
} // namespace cohortex
