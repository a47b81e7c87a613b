#include "Services/SessionManagerFixture.h"

namespace cohortex {
namespace {

class SessionManagerSweepTest : public testing::SessionManagerFixture {
protected:
    void SetUp() override
    {
        storeList({ workspace("Shown", 1), workspace("Idle", 2), workspace("Awake", 3) });
        manager = makeManager();
        auto awake = list()[2];
        awake.keepAwake = true;
        manager->updateWorkspace(awake);
        manager->showMainWindow();
        for (const auto& workspace : list())
            runtime.load(workspace, queue.now());
    }

    const std::vector<WorkspaceSession>& list() const { return manager->workspaces().get(); }
    const Uuid& id(std::size_t index) const { return list()[index].id; }

    // Gives every tab of the workspace a page in one process of the given size.
    void givePages(std::size_t index, std::int32_t pid, double megabytes)
    {
        memory.footprints[pid] = megabytes;
        for (const auto& tab : runtime.tabs(id(index))) {
            auto view = std::make_shared<testing::FakeView>(pid);
            views.push_back(view);
            registry.registerView(view, tab.id, id(index));
        }
    }

    double freedMB() const { return resources.stats().get().hibernationFreedMB; }

    std::unique_ptr<SessionManager> manager;
    std::vector<std::shared_ptr<testing::FakeView>> views;
};

TEST_F(SessionManagerSweepTest, HibernatesIdleBackgroundWorkspacesButNotTheShownOrKeepAwakeOnes)
{
    queue.advance(30 * 60);
    log.clear();
    manager->sweep(queue.now());
    EXPECT_TRUE(runtime.isLoaded(id(0)));
    EXPECT_FALSE(runtime.isLoaded(id(1)));
    EXPECT_TRUE(runtime.isLoaded(id(2)));
    EXPECT_EQ(runtime.lastActive(id(0)), queue.now());
    EXPECT_THAT(log.calls, ::testing::ElementsAre("stores.saveSessionCookies 3"));
    EXPECT_FALSE(runtime.isDirty());
}

TEST_F(SessionManagerSweepTest, AMinimisedWindowLetsTheActiveWorkspaceAgeFromTheLastVisibleSweep)
{
    queue.advance(60);
    manager->sweep(queue.now());
    window.minimised = true;
    queue.advance(30 * 60 - 1);
    manager->sweep(queue.now());
    EXPECT_TRUE(runtime.isLoaded(id(0)));
    queue.advance(1);
    manager->sweep(queue.now());
    EXPECT_FALSE(runtime.isLoaded(id(0)));
}

TEST_F(SessionManagerSweepTest, NeverSettingStopsTheSweepButNotManualSleep)
{
    manager->setSleepAfterMinutes(0);
    queue.advance(24 * 3600);
    manager->sweep(queue.now());
    EXPECT_EQ(runtime.loadedCount(), 3u);
    manager->sleepNow(list()[1]);
    EXPECT_FALSE(runtime.isLoaded(id(1)));
}

TEST_F(SessionManagerSweepTest, RelocksUnlockedWorkspacesIdleForFiveMinutes)
{
    auto locked = list()[1];
    locked.requiresUnlock = true;
    manager->updateWorkspace(locked);
    EXPECT_TRUE(runtime.isUnlocked(locked.id));
    manager->setSleepAfterMinutes(120);
    queue.advance(299);
    manager->sweep(queue.now());
    EXPECT_TRUE(runtime.isUnlocked(locked.id));
    queue.advance(1);
    manager->sweep(queue.now());
    EXPECT_FALSE(runtime.isUnlocked(locked.id));
    EXPECT_FALSE(runtime.isLoaded(locked.id));
    EXPECT_TRUE(manager->needsUnlock(locked));
}

TEST_F(SessionManagerSweepTest, FreedMemoryIsRecordedForEveryCauseOfSleep)
{
    givePages(1, 101, 250);
    givePages(2, 102, 100);
    queue.advance(30 * 60);
    manager->sweep(queue.now());
    EXPECT_DOUBLE_EQ(freedMB(), 250);

    // Manual sleep, and the lock, count too.
    manager->sleepNow(list()[2]);
    EXPECT_DOUBLE_EQ(freedMB(), 350);
    auto shown = list()[0];
    shown.requiresUnlock = true;
    manager->updateWorkspace(shown);
    givePages(0, 100, 50);
    manager->lockNow(*manager->workspace(shown.id));
    EXPECT_DOUBLE_EQ(freedMB(), 400);
}

TEST_F(SessionManagerSweepTest, UnmeasurablePagesSleepWithoutRecordingAnything)
{
    givePages(1, 101, 250);
    memory.footprints.clear();
    manager->sleepNow(list()[1]);
    EXPECT_FALSE(runtime.isLoaded(id(1)));
    EXPECT_DOUBLE_EQ(freedMB(), 0);
}

} // namespace
} // namespace cohortex
