#include "Services/WorkspaceRuntime.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

constexpr double minutes30 = 30 * 60;

class WorkspaceRuntimeSleepTest : public ::testing::Test {
protected:
    Uuid loadAt(std::string name, Date lastUse)
    {
        auto site = *Url::parse("https://" + name + ".example/");
        WorkspaceSession workspace(Uuid::random(), name, site, std::nullopt, "globe", "#000000", 1,
            Uuid::random(), Date(0), Date(0));
        runtime.load(workspace, lastUse);
        return workspace.id;
    }

    WorkspaceRuntime runtime{ nullptr };
    Date now{ 100000 };
};

TEST_F(WorkspaceRuntimeSleepTest, IdleAtExactlyTheLimitSleepsAndASecondLessDoesNot)
{
    auto idle = loadAt("idle", now.adding(-minutes30));
    auto recent = loadAt("recent", now.adding(-minutes30 + 1));
    auto slept = runtime.sleepIdleWorkspaces(std::nullopt, minutes30, now, {});
    EXPECT_EQ(slept, std::vector<Uuid>{ idle });
    EXPECT_TRUE(runtime.isLoaded(recent));
}

TEST_F(WorkspaceRuntimeSleepTest, ShownKeepAwakeAndCapturingWorkspacesAreSkipped)
{
    auto shown = loadAt("shown", Date(0));
    auto awake = loadAt("awake", Date(0));
    auto call = loadAt("call", Date(0));
    auto idle = loadAt("idle", Date(0));
    runtime.setCapturing(runtime.tabs(call)[0].id, true);
    auto slept = runtime.sleepIdleWorkspaces(shown, minutes30, now, { awake });
    EXPECT_EQ(slept, std::vector<Uuid>{ idle });

    // Once the call ends the workspace is eligible at the next sweep.
    runtime.setCapturing(runtime.tabs(call)[0].id, false);
    EXPECT_EQ(runtime.sleepIdleWorkspaces(shown, minutes30, now, { awake }), std::vector<Uuid>{ call });
}

TEST_F(WorkspaceRuntimeSleepTest, EveryIdleWorkspaceSleepsInOneSweepWithTheHookEachTime)
{
    std::set<Uuid> idle{ loadAt("a", Date(0)), loadAt("b", Date(0)), loadAt("c", Date(0)) };
    std::set<Uuid> hooked;
    runtime.setOnWillSleep([&](const Uuid& id) { hooked.insert(id); });
    auto slept = runtime.sleepIdleWorkspaces(std::nullopt, minutes30, now, {});
    EXPECT_EQ(std::set<Uuid>(slept.begin(), slept.end()), idle);
    EXPECT_EQ(hooked, idle);
    EXPECT_EQ(runtime.loadedCount(), 0u);
}

TEST_F(WorkspaceRuntimeSleepTest, RelockAfterExactlyFiveMinutesAlsoSleeps)
{
    auto stale = loadAt("stale", now.adding(-300));
    auto fresh = loadAt("fresh", now.adding(-299));
    auto shown = loadAt("shown", Date(0));
    for (auto id : { stale, fresh, shown })
        runtime.markUnlocked(id);
    int hooks = 0;
    runtime.setOnWillSleep([&](const Uuid&) { ++hooks; });

    EXPECT_EQ(runtime.relockIdle(shown, 300, now), std::vector<Uuid>{ stale });
    EXPECT_FALSE(runtime.isUnlocked(stale));
    EXPECT_FALSE(runtime.isLoaded(stale));
    EXPECT_EQ(hooks, 1);
    EXPECT_TRUE(runtime.isUnlocked(fresh));
    EXPECT_TRUE(runtime.isUnlocked(shown));
}

TEST_F(WorkspaceRuntimeSleepTest, RelockIgnoresKeepAwakeAndCameraUse)
{
    auto busy = loadAt("busy", Date(0));
    runtime.setCapturing(runtime.tabs(busy)[0].id, true);
    runtime.markUnlocked(busy);
    EXPECT_EQ(runtime.relockIdle(std::nullopt, 300, now), std::vector<Uuid>{ busy });
}

TEST_F(WorkspaceRuntimeSleepTest, UnlockedWorkspaceNeverSeenCountsAsJustUsed)
{
    auto id = Uuid::random();
    runtime.markUnlocked(id);
    EXPECT_TRUE(runtime.relockIdle(std::nullopt, 300, now).empty());
    EXPECT_TRUE(runtime.isUnlocked(id));
}

TEST_F(WorkspaceRuntimeSleepTest, LockNowRemovesTheUnlockAndSleeps)
{
    auto loaded = loadAt("loaded", now);
    runtime.markUnlocked(loaded);
    runtime.lockNow(loaded);
    EXPECT_FALSE(runtime.isUnlocked(loaded));
    EXPECT_TRUE(runtime.sleeping().get().contains(loaded));
}

} // namespace
} // namespace cohortex
