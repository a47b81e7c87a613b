#include "Platform/Linux/GLibMainQueue.h"

#include "Support/Task.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace cohortex {
namespace {

struct MainLoopUnref {
    void operator()(GMainLoop* loop) const { g_main_loop_unref(loop); }
};
struct SourceUnref {
    void operator()(GSource* source) const { g_source_unref(source); }
};

using Log = std::vector<std::string>;

class GLibMainQueueTest : public ::testing::Test {
protected:
    // Runs the default main context until quit() is called or the time limit passes.
    void runFor(unsigned milliseconds)
    {
        std::unique_ptr<GSource, SourceUnref> limit(g_timeout_source_new(milliseconds));
        g_source_set_callback(
            limit.get(),
            [](gpointer loop) {
                g_main_loop_quit(static_cast<GMainLoop*>(loop));
                return G_SOURCE_REMOVE;
            },
            m_loop.get(), nullptr);
        g_source_attach(limit.get(), nullptr);
        g_main_loop_run(m_loop.get());
        g_source_destroy(limit.get());
    }
    void quit() { g_main_loop_quit(m_loop.get()); }
    static double millisecondsSince(gint64 start)
    {
        return static_cast<double>(g_get_monotonic_time() - start) / 1000;
    }

    std::unique_ptr<GMainLoop, MainLoopUnref> m_loop{ g_main_loop_new(nullptr, false) };
    std::unique_ptr<GLibMainQueue> m_queue = std::make_unique<GLibMainQueue>();
    Log m_log;
};

TEST_F(GLibMainQueueTest, PostedWorkRunsInPostingOrderAndNeverInsideThePost)
{
    m_queue->post([this] {
        m_log.push_back("a");
        m_queue->post([this] {
            m_log.push_back("c");
            quit();
        });
        m_log.push_back("a done");
    });
    m_queue->post([this] { m_log.push_back("b"); });
    EXPECT_TRUE(m_log.empty());

    runFor(500);

    EXPECT_EQ(m_log, (Log{ "a", "a done", "b", "c" }));
}

TEST_F(GLibMainQueueTest, DelayedWorkFiresAfterItsDelayAndCancelledWorkNever)
{
    auto start = g_get_monotonic_time();
    double firedAfter = 0;
    auto cancelled = m_queue->postAfter(0.02, [this] { m_log.push_back("cancelled"); });
    m_queue->postAfter(0.05, [&] {
        firedAfter = millisecondsSince(start);
        quit();
    });
    cancelled.cancel();

    runFor(500);

    EXPECT_GE(firedAfter, 50);
    EXPECT_LT(firedAfter, 400);
    EXPECT_TRUE(m_log.empty());
    EXPECT_TRUE(cancelled.isCancelled());
}

TEST_F(GLibMainQueueTest, DestroyedQueueLeavesNoWorkBehind)
{
    m_queue->post([this] { m_log.push_back("posted"); });
    auto handle = m_queue->postAfter(0.01, [this] { m_log.push_back("delayed"); });
    m_queue.reset();

    runFor(30);

    EXPECT_TRUE(m_log.empty());
    handle.cancel();
}

TEST_F(GLibMainQueueTest, WorkMayDestroyTheQueueThatRunsIt)
{
    m_queue->post([this] {
        m_log.push_back("destroying");
        m_queue.reset();
    });
    m_queue->post([this] { m_log.push_back("should not run"); });

    runFor(30);

    EXPECT_EQ(m_log, (Log{ "destroying" }));
}

Task<> recordAfterDelay(MainQueue& queue, Log& log)
{
    log.push_back("started");
    co_await delay(queue, 0.01);
    log.push_back("resumed");
}

TEST_F(GLibMainQueueTest, TasksResumeFromTheMainLoop)
{
    ASSERT_EQ(MainQueue::current(), m_queue.get());
    recordAfterDelay(*m_queue, m_log).onDone([this] { quit(); });

    runFor(500);

    EXPECT_EQ(m_log, (Log{ "started", "resumed" }));
}

} // namespace
} // namespace cohortex
