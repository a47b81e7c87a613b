#include "Platform/Linux/GLibAsync.h"

#include "MainLoopWait.h"
#include "Platform/Linux/GLibMainQueue.h"
#include "Platform/Linux/GLibPtr.h"
#include "Support/Task.h"

#include <functional>
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

// What a test's fake GLib call was given, so the test can answer it later.
struct PendingCall {
    GObjectPtr<GCancellable> cancellable;
    std::function<void(std::string)> resume;
};

Task<std::string> awaitAnswer(double seconds, PendingCall& call)
{
    co_return co_await awaitWithin<std::string>(
        seconds, "timed out", [&call](GCancellable* cancellable, auto resume) {
            call = { GObjectPtr<GCancellable>::retain(cancellable), resume };
        });
}

// Answers through a GTask on a source object that only the task still holds once the call has started.
Task<gssize> answerThroughTask(GObjectPtr<GObject> source, gssize answer)
{
    auto result = co_await awaitAsyncResult([&source, answer](GAsyncReadyCallback ready, gpointer data) {
        GObjectPtr<GTask> task(g_task_new(source.get(), nullptr, ready, data));
        source.reset();
        g_task_return_int(task.get(), answer);
    });
    co_return g_task_propagate_int(G_TASK(result.get()), nullptr);
}

class GLibAsyncTest : public ::testing::Test {
protected:
    GLibMainQueue m_queue;
    PendingCall m_call;
};

TEST_F(GLibAsyncTest, AnAnswerBeforeTheDeadlineWinsAndNothingIsCancelled)
{
    auto task = awaitAnswer(0.05, m_call);
    m_call.resume("answered");
    runUntil([&] { return task.isDone(); }, 1);
    g_usleep(60'000);
    g_main_context_iteration(nullptr, false);

    ASSERT_TRUE(task.isDone());
    EXPECT_EQ(task.result(), "answered");
    EXPECT_FALSE(g_cancellable_is_cancelled(m_call.cancellable.get()));
}

TEST_F(GLibAsyncTest, AtTheDeadlineTheCallIsCancelledAndItsLateAnswerDropped)
{
    auto task = awaitAnswer(0.02, m_call);
    runUntil([&] { return task.isDone(); }, 1);
    m_call.resume("too late");
    g_main_context_iteration(nullptr, false);

    ASSERT_TRUE(task.isDone());
    EXPECT_EQ(task.result(), "timed out");
    EXPECT_TRUE(g_cancellable_is_cancelled(m_call.cancellable.get()));
}

// GIO drops its own reference to the result as soon as the callback returns; the coroutine resumes
// later, from the queue, and must still be able to finish the call.
TEST_F(GLibAsyncTest, TheAwaitedResultOutlivesTheCallbackAndThenLetsItsSourceGo)
{
    GObject* source = G_OBJECT(g_object_new(G_TYPE_OBJECT, nullptr));
    g_object_add_weak_pointer(source, reinterpret_cast<gpointer*>(&source));

    auto task = answerThroughTask(GObjectPtr<GObject>(source), 42);
    runUntil([&] { return task.isDone(); }, 1);

    ASSERT_TRUE(task.isDone());
    EXPECT_EQ(task.result(), 42);
    EXPECT_EQ(source, nullptr);
}

} // namespace
} // namespace cohortex
