#include "Fakes/FakeAuthenticator.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/ManualMainQueue.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

class WorkspaceRuntimeUnlockTest : public ::testing::Test {
protected:
    ManualMainQueue queue;
    WorkspaceRuntime runtime{ nullptr };
    testing::FakeAuthenticator authenticator;
    Uuid workspace = Uuid::random();
};

TEST_F(WorkspaceRuntimeUnlockTest, SuccessUnlocksAndStampsTheTimeTheCallBegan)
{
    auto result = runtime.unlock(workspace, "Client Alpha", authenticator, Date(500));
    EXPECT_EQ(authenticator.reasons, std::vector<std::string>{ "Unlock Client Alpha in Cohortex" });
    EXPECT_TRUE(runtime.isUnlocking(workspace));
    queue.advance(60);
    authenticator.answer(true);
    queue.runPending();
    ASSERT_TRUE(result.isDone());
    EXPECT_EQ(result.result(), Authentication::Succeeded);
    EXPECT_TRUE(runtime.isUnlocked(workspace));
    EXPECT_FALSE(runtime.isUnlocking(workspace));
    EXPECT_EQ(runtime.lastActive(workspace), Date(500));
}

TEST_F(WorkspaceRuntimeUnlockTest, OnlyOnePromptPerWorkspaceAtATime)
{
    auto first = runtime.unlock(workspace, "A", authenticator, Date(0));
    auto second = runtime.unlock(workspace, "A", authenticator, Date(0));
    ASSERT_TRUE(second.isDone());
    EXPECT_EQ(second.result(), Authentication::Failed);
    EXPECT_EQ(authenticator.openPrompts(), 1u);

    // Another workspace may prompt meanwhile.
    auto other = runtime.unlock(Uuid::random(), "B", authenticator, Date(0));
    EXPECT_EQ(authenticator.openPrompts(), 2u);

    authenticator.answer(false);
    authenticator.answer(false);
    queue.runPending();
    EXPECT_EQ(first.result(), Authentication::Failed);
    EXPECT_FALSE(runtime.isUnlocked(workspace));
    EXPECT_FALSE(runtime.isUnlocking(workspace));

    // After a refusal the next attempt prompts again.
    auto retry = runtime.unlock(workspace, "A", authenticator, Date(0));
    EXPECT_EQ(authenticator.openPrompts(), 1u);
}

} // namespace
} // namespace cohortex
