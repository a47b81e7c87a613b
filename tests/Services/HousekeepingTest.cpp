#include "Services/Housekeeping.h"

#include "Services/SessionManagerFixture.h"

#include <algorithm>

namespace cohortex {
namespace {

// Shown, Idle and a keep-awake Awake, all loaded, with the window on screen.
class HousekeepingTest : public testing::SessionManagerFixture {
protected:
    void SetUp() override
    {
        storeList({ workspace("Shown", 1), workspace("Idle", 2), workspace("Awake", 3) });
        manager = makeManager();
        auto awake = list()[2];
        awake.keepAwake = true;
        manager->updateWorkspace(awake);
        housekeeping = std::make_unique<Housekeeping>(Housekeeping::Collaborators{
            queue, *manager, runtime, stores, resources, registry, window, timeTracker, idleTime });
        housekeeping->setCalendar(berlin);
        manager->showMainWindow();
        for (const auto& workspace : list())
            runtime.load(workspace, queue.now());
        log.clear();
    }

    const std::vector<WorkspaceSession>& list() const { return manager->workspaces().get(); }
    const Uuid& id(std::size_t index) const { return list()[index].id; }
    double counted(const Uuid& workspaceId) const
    {
        return timeTracker.ledger().get().seconds(workspaceId, queue.now(), berlin);
    }
    long cookieSaves() const { return std::ranges::count(log.calls, "stores.saveSessionCookies 3"); }

    Calendar berlin = *Calendar::inTimeZone("Europe/Berlin");
    std::unique_ptr<SessionManager> manager;
    std::unique_ptr<Housekeeping> housekeeping;
};

// The tick counts time every five seconds, the sweep saves logins every thirty, until housekeeping goes.
TEST_F(HousekeepingTest, TheTickRunsEveryFiveSecondsAndTheSweepEveryThirtyUntilItGoes)
{
    queue.advance(4.9);
    EXPECT_EQ(counted(id(0)), 0);
    queue.advance(25.1);
    EXPECT_EQ(counted(id(0)), 30);
    EXPECT_EQ(cookieSaves(), 1);

    housekeeping.reset();
    queue.advance(120);
    EXPECT_EQ(cookieSaves(), 1);
    EXPECT_EQ(queue.pendingCount(), 0u);
}

TEST_F(HousekeepingTest, LosingTheFocusWritesOpenTabsAndSavesLoginsSoonAfterUnlessItIsGone)
{
    runtime.newTab(id(1), *Url::parse("https://later.example/"));
    window.deactivate();
    queue.runPending();
    EXPECT_FALSE(runtime.isDirty());
    EXPECT_EQ(cookieSaves(), 1);

    runtime.newTab(id(1), *Url::parse("https://later.example/2"));
    window.deactivate();
    housekeeping.reset();
    queue.runPending();
    EXPECT_TRUE(runtime.isDirty());
}

TEST_F(HousekeepingTest, SweepHibernatesIdleBackgroundWorkspacesButNotTheShownOrKeepAwakeOnesUnlessSetToNever)
{
    queue.advance(30 * 60);
    housekeeping->sweep(queue.now());
    EXPECT_TRUE(runtime.isLoaded(id(0)));
    EXPECT_FALSE(runtime.isLoaded(id(1)));
    EXPECT_TRUE(runtime.isLoaded(id(2)));

    // "Never" stops the sweep.
    manager->setSleepAfterMinutes(0);
    queue.advance(24 * 3600);
    housekeeping->sweep(queue.now());
    EXPECT_EQ(runtime.loadedCount(), 2u);
}

TEST_F(HousekeepingTest, WhereMinimisingIsNotReportedAWindowLeftUnfocusedForTheLimitIsOutOfSight)
{
    window.tellsMinimising = false;
    window.key = false;
    queue.advance(60);
    housekeeping->sweep(queue.now());
    // A focused sweep starts the count again.
    queue.advance(20 * 60);
    window.key = true;
    housekeeping->sweep(queue.now());
    window.key = false;
    queue.advance(30);
    housekeeping->sweep(queue.now());
    queue.advance(30 * 60 - 31);
    housekeeping->sweep(queue.now());
    EXPECT_TRUE(runtime.isLoaded(id(0)));
    queue.advance(31);
    housekeeping->sweep(queue.now());
    EXPECT_FALSE(runtime.isLoaded(id(0)));
}

// The exact limit is proved in WorkspaceRuntimeTest; here, that the sweep relocks after five minutes.
TEST_F(HousekeepingTest, RelocksUnlockedWorkspacesIdleForFiveMinutes)
{
    auto locked = list()[1];
    locked.requiresUnlock = true;
    manager->updateWorkspace(locked);
    manager->setSleepAfterMinutes(120);
    queue.advance(300);
    housekeeping->sweep(queue.now());
    EXPECT_TRUE(manager->needsUnlock(locked));
}

} // namespace
} // namespace cohortex
