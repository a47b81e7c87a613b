#include "Support/Task.h"

#include "Support/ManualMainQueue.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace cohortex {
namespace {

// Lets a test decide when an awaited operation completes, the way a GLib callback would later.
template <typename T>
class Gate {
public:
    CallbackAwaitable<T> wait()
    {
        return awaitCallback<T>(
            [this](typename CallbackAwaitable<T>::Resume resume) { m_resume = std::move(resume); });
    }
    template <typename... Value>
    void open(Value... value)
    {
        m_resume(std::move(value)...);
    }

private:
    typename CallbackAwaitable<T>::Resume m_resume;
};

using Log = std::vector<std::string>;

Task<int> doubledWhenOpen(Gate<int>& gate, Log& log)
{
    log.push_back("waiting");
    int value = co_await gate.wait();
    log.push_back("opened");
    co_return value * 2;
}

Task<> awaitAndRecord(Task<int> task, std::string name, Log& log)
{
    int value = co_await task;
    log.push_back(name + " got " + std::to_string(value));
}

class TaskTest : public ::testing::Test {
protected:
    ManualMainQueue queue;
    Log log;
};

TEST_F(TaskTest, BodyRunsAtOnceUntilItSuspendsAndResumesOnlyThroughTheQueue)
{
    Gate<int> gate;
    auto task = doubledWhenOpen(gate, log);
    EXPECT_EQ(log, (Log{ "waiting" }));
    queue.advance(3600);
    gate.open(21);
    EXPECT_EQ(log, (Log{ "waiting" })) << "resumption is posted, not run inside the callback";
    queue.runPending();
    ASSERT_TRUE(task.isDone());
    EXPECT_EQ(task.result(), 42);

    log.clear();
    Gate<int> dropped;
    doubledWhenOpen(dropped, log);
    dropped.open(1);
    queue.runPending();
    EXPECT_EQ(log, (Log{ "waiting", "opened" })) << "a task whose handles were dropped still completes";
}

TEST_F(TaskTest, AwaitersResumeThroughTheQueueInOrderAfterWorkQueuedBeforeCompletion)
{
    Gate<int> gate;
    auto shared = doubledWhenOpen(gate, log);
    awaitAndRecord(shared, "first", log);
    awaitAndRecord(shared, "second", log);
    gate.open(5);
    // The awaiters' resumptions are posted only when the task finishes, so after work queued now.
    queue.post([&] { log.push_back("queued before"); });
    queue.runPending();
    EXPECT_EQ(log, (Log{ "waiting", "opened", "queued before", "first got 10", "second got 10" }));
}

// Calls resume at once and twice more: again before the coroutine resumed, and after it finished.
Task<std::string> resumedThrice(std::function<void(std::string)>& keptResume, Log& log)
{
    auto text = co_await awaitCallback<std::string>([&](std::function<void(std::string)> resume) {
        keptResume = resume;
        resume("first");
        resume("second");
    });
    log.push_back(text);
    co_return text;
}

TEST_F(TaskTest, OnlyTheFirstCallOfAResumeCallbackCounts)
{
    std::function<void(std::string)> keptResume;
    auto task = resumedThrice(keptResume, log);
    EXPECT_TRUE(log.empty()) << "a resume called at once is still posted";
    queue.runPending();
    ASSERT_TRUE(task.isDone());

    keptResume("after the frame is gone");
    queue.runPending();

    EXPECT_EQ(log, (Log{ "first" }));
    EXPECT_EQ(task.result(), "first");
}

} // namespace
} // namespace cohortex
