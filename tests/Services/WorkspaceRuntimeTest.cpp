#include "Services/WorkspaceRuntime.h"

#include "Fakes/FakeAuthenticator.h"
#include "Fakes/MemoryDefaults.h"
#include "Services/StoredKeys.h"
#include "Support/ManualMainQueue.h"

#include <gtest/gtest.h>
#include <set>

namespace cohortex {
namespace {

Url url(std::string_view text)
{
    return *Url::parse(text);
}

class WorkspaceRuntimeTest : public ::testing::Test {
protected:
    WorkspaceSession makeWorkspace(std::string name)
    {
        auto site = url("https://" + name + ".example/");
        WorkspaceSession workspace(Uuid::random(), name, site, url("https://" + name + ".example/elsewhere"),
            "globe", "#000000", 1, Uuid::random(), Date(0), Date(0));
        return workspace;
    }

    // A loaded workspace with one tab per address, the first active.
    WorkspaceSession loadedWith(
        WorkspaceRuntime& runtime, std::string name, std::vector<std::string> addresses)
    {
        auto workspace = makeWorkspace(std::move(name));
        runtime.load(workspace, Date(0));
        auto first = runtime.tabs(workspace.id)[0].id;
        for (const auto& address : addresses)
            runtime.newTab(workspace.id, url(address));
        runtime.closeTab(first, workspace.id);
        runtime.selectTab(runtime.tabs(workspace.id)[0].id, workspace.id);
        return workspace;
    }

    std::vector<std::string> addresses(const WorkspaceRuntime& runtime, const Uuid& id) const
    {
        std::vector<std::string> result;
        for (const auto& tab : runtime.tabs(id))
            result.push_back(tab.url.absoluteString());
        return result;
    }

    std::size_t activeIndex(const WorkspaceRuntime& runtime, const Uuid& id) const
    {
        const auto& list = runtime.tabs(id);
        auto active = runtime.activeTab(id);
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (active && list[i].id == active->id)
                return i;
        }
        return SIZE_MAX;
    }

    MemoryDefaults defaults;
};

TEST_F(WorkspaceRuntimeTest, FirstLoadOpensTheInitialSiteAndALaterOneOnlyRefreshesItsLastUse)
{
    WorkspaceRuntime runtime(&defaults);
    auto workspace = makeWorkspace("mail");
    runtime.load(workspace, Date(10));
    EXPECT_EQ(addresses(runtime, workspace.id), std::vector<std::string>{ "https://mail.example/" });
    EXPECT_EQ(runtime.lastActive(workspace.id), Date(10));
    EXPECT_TRUE(runtime.isDirty());

    runtime.newTab(workspace.id, url("https://b.example/"));
    auto before = runtime.tabs(workspace.id);
    runtime.load(workspace, Date(99));
    EXPECT_EQ(runtime.tabs(workspace.id), before);
    EXPECT_EQ(activeIndex(runtime, workspace.id), 1u);
    EXPECT_EQ(runtime.lastActive(workspace.id), Date(99));
}

// Closing the active tab selects the one to its right, or the new last one; the last tab and unknown
// tabs are never closed.
TEST_F(WorkspaceRuntimeTest, ClosingPicksTheRightNeighbourOrTheNewLastTab)
{
    struct Case {
        std::size_t active;
        std::size_t closed;
        std::size_t expectedActive; // in the shortened list
    };
    for (auto [active, closed, expectedActive] :
        { Case{ 1, 1, 1 }, Case{ 2, 2, 1 }, Case{ 0, 2, 0 }, Case{ 2, 0, 1 } }) {
        WorkspaceRuntime runtime(nullptr);
        auto workspace
            = loadedWith(runtime, "w", { "https://0.example/", "https://1.example/", "https://2.example/" });
        const auto& list = runtime.tabs(workspace.id);
        runtime.selectTab(list[active].id, workspace.id);
        runtime.closeTab(list[closed].id, workspace.id);
        EXPECT_EQ(runtime.tabs(workspace.id).size(), 2u);
        EXPECT_EQ(activeIndex(runtime, workspace.id), expectedActive) << active << " " << closed;
    }

    WorkspaceRuntime runtime(nullptr);
    auto workspace = makeWorkspace("solo");
    runtime.load(workspace, Date(0));
    auto only = runtime.tabs(workspace.id)[0].id;
    runtime.closeTab(only, workspace.id);
    runtime.closeTab(Uuid::random(), workspace.id);
    ASSERT_EQ(runtime.tabs(workspace.id).size(), 1u);
    EXPECT_EQ(runtime.activeTab(workspace.id)->id, only);
}

TEST_F(WorkspaceRuntimeTest, TitleChangesNotifyWithoutDirtyingAndNoChangeNotifiesNobody)
{
    WorkspaceRuntime runtime(&defaults);
    auto workspace = makeWorkspace("mail");
    runtime.load(workspace, Date(0));
    runtime.saveNow();
    auto tab = runtime.tabs(workspace.id)[0];
    int notifications = 0;
    ScopedConnection connection = runtime.tabs().changed().connect([&](const auto&) { ++notifications; });

    runtime.updateTab(tab.id, workspace.id, "(3) Inbox", std::nullopt);
    EXPECT_EQ(notifications, 1);
    EXPECT_FALSE(runtime.isDirty());
    runtime.updateTab(tab.id, workspace.id, "(3) Inbox", tab.url);
    EXPECT_EQ(notifications, 1);
    runtime.updateTab(tab.id, workspace.id, std::nullopt, url("https://mail.example/thread/1"));
    EXPECT_EQ(notifications, 2);
    EXPECT_TRUE(runtime.isDirty());
}

TEST_F(WorkspaceRuntimeTest, UnreadCountsSumOverLoadedWorkspacesOnly)
{
    WorkspaceRuntime runtime(nullptr);
    auto mail = loadedWith(runtime, "mail", { "https://a.example/", "https://b.example/" });
    auto chat = loadedWith(runtime, "chat", { "https://c.example/" });
    auto asleep = loadedWith(runtime, "asleep", { "https://d.example/" });
    runtime.updateTab(runtime.tabs(mail.id)[0].id, mail.id, "(2) Mail", std::nullopt);
    runtime.updateTab(runtime.tabs(mail.id)[1].id, mail.id, "Inbox (1)", std::nullopt);
    runtime.updateTab(runtime.tabs(chat.id)[0].id, chat.id, "[4] Chat", std::nullopt);
    runtime.updateTab(runtime.tabs(asleep.id)[0].id, asleep.id, "(50) Old", std::nullopt);
    runtime.sleep(asleep.id);
    EXPECT_EQ(runtime.unreadCount(mail.id), 3);
    EXPECT_EQ(runtime.totalUnread(), 7);

    runtime.updateTab(runtime.tabs(chat.id)[0].id, chat.id, "Chat", std::nullopt);
    EXPECT_EQ(runtime.totalUnread(), 3);
}

TEST_F(WorkspaceRuntimeTest, SleepKeepsTheAddressesAndActiveTabForTheNextLoad)
{
    WorkspaceRuntime runtime(nullptr);
    auto workspace = loadedWith(runtime, "w", { "https://a.example/", "https://b.example/" });
    runtime.selectTab(runtime.tabs(workspace.id)[1].id, workspace.id);
    runtime.setCapturing(runtime.tabs(workspace.id)[1].id, true);
    auto capturingTab = runtime.tabs(workspace.id)[1].id;
    std::vector<Uuid> hooked;
    runtime.setOnWillSleep([&](const Uuid& id) {
        // The hook still sees the pages it is about to lose.
        EXPECT_TRUE(runtime.isLoaded(id));
        hooked.push_back(id);
    });

    runtime.sleep(workspace.id);
    EXPECT_EQ(hooked, std::vector<Uuid>{ workspace.id });
    EXPECT_FALSE(runtime.isLoaded(workspace.id));
    EXPECT_TRUE(runtime.sleeping().get().contains(workspace.id));
    EXPECT_FALSE(runtime.isCapturing(capturingTab));

    runtime.sleep(workspace.id);
    EXPECT_EQ(hooked.size(), 1u);

    runtime.load(workspace, Date(5));
    EXPECT_EQ(addresses(runtime, workspace.id),
        (std::vector<std::string>{ "https://a.example/", "https://b.example/" }));
    EXPECT_EQ(activeIndex(runtime, workspace.id), 1u);
    EXPECT_FALSE(runtime.sleeping().get().contains(workspace.id));
}

TEST_F(WorkspaceRuntimeTest, ForgetDropsEveryTrace)
{
    WorkspaceRuntime runtime(&defaults);
    auto workspace = loadedWith(runtime, "w", { "https://a.example/", "https://b.example/" });
    runtime.markUnlocked(workspace.id);
    runtime.sleep(workspace.id);
    runtime.forget(workspace.id);
    EXPECT_FALSE(runtime.isLoaded(workspace.id));
    EXPECT_FALSE(runtime.isUnlocked(workspace.id));
    EXPECT_FALSE(runtime.sleeping().get().contains(workspace.id));
    EXPECT_FALSE(runtime.lastActive(workspace.id));
    EXPECT_TRUE(runtime.currentSnapshot().empty());
    runtime.load(workspace, Date(0));
    EXPECT_EQ(addresses(runtime, workspace.id), std::vector<std::string>{ "https://w.example/" });
}

// The snapshot keeps web tabs and counts the active index among them; a sleeping workspace is written as
// it was kept and filtered when it is read back.
TEST_F(WorkspaceRuntimeTest, OpenTabsComeBackAfterARelaunchAsSavedNotSleeping)
{
    auto mixed = makeWorkspace("mixed");
    auto asleep = makeWorkspace("asleep");
    {
        WorkspaceRuntime runtime(&defaults);
        mixed = loadedWith(runtime, "mixed", { "https://a.example/", "about:blank", "http://b.example/" });
        runtime.selectTab(runtime.tabs(mixed.id)[1].id, mixed.id);
        auto fileOnly = loadedWith(runtime, "file", { "file:///home/ada/notes.html" });
        asleep = loadedWith(runtime, "asleep", { "about:blank", "https://c.example/", "https://d.example/" });
        runtime.selectTab(runtime.tabs(asleep.id)[2].id, asleep.id);
        runtime.sleep(asleep.id);

        auto snapshot = runtime.currentSnapshot();
        EXPECT_EQ(snapshot.at(mixed.id.string()),
            (TabSnapshot{ { "https://a.example/", "http://b.example/" }, 0 }));
        EXPECT_FALSE(snapshot.contains(fileOnly.id.string()));
        EXPECT_EQ(snapshot.at(asleep.id.string()),
            (TabSnapshot{ { "about:blank", "https://c.example/", "https://d.example/" }, 2 }));
        runtime.saveNow();
    }
    WorkspaceRuntime relaunched(&defaults);
    EXPECT_FALSE(relaunched.isLoaded(asleep.id));
    EXPECT_TRUE(relaunched.sleeping().get().empty());
    EXPECT_FALSE(relaunched.isDirty());
    relaunched.load(asleep, Date(0));
    relaunched.load(mixed, Date(0));
    EXPECT_EQ(addresses(relaunched, asleep.id),
        (std::vector<std::string>{ "https://c.example/", "https://d.example/" }));
    // The stored index 2 counted the blank page, which is gone now, so it lands on the last tab.
    EXPECT_EQ(activeIndex(relaunched, asleep.id), 1u);
    EXPECT_EQ(activeIndex(relaunched, mixed.id), 0u);
}

TEST_F(WorkspaceRuntimeTest, DamagedStoredTabsRestoreNothingAndStayUntilTheNextWrite)
{
    std::string damaged = R"({"0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9": {"urls": ["https://a.example/"]}})";
    defaults.setData(
        keys::openTabs, std::span(reinterpret_cast<const std::uint8_t*>(damaged.data()), damaged.size()));
    defaults.setInteger(keys::sleepAfterMinutes, 5);
    WorkspaceRuntime runtime(&defaults);
    EXPECT_TRUE(runtime.currentSnapshot().empty());
    auto kept = defaults.data(keys::openTabs);
    ASSERT_TRUE(kept);
    EXPECT_EQ(std::string(kept->begin(), kept->end()), damaged);
    EXPECT_EQ(defaults.integer(keys::sleepAfterMinutes), 5);
}

TEST_F(WorkspaceRuntimeTest, FlushWritesOnlyWhenSomethingChanged)
{
    WorkspaceRuntime runtime(&defaults);
    auto workspace = makeWorkspace("w");
    runtime.load(workspace, Date(0));
    runtime.flushIfNeeded();
    auto writes = defaults.writeCount();
    runtime.flushIfNeeded();
    EXPECT_EQ(defaults.writeCount(), writes);
    runtime.newTab(workspace.id, url("https://x.example/"));
    runtime.flushIfNeeded();
    EXPECT_EQ(defaults.writeCount(), writes + 1);
    runtime.saveNow();
    EXPECT_EQ(defaults.writeCount(), writes + 2);
}

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

// Every idle workspace sleeps in one sweep, with the hook each time.
TEST_F(WorkspaceRuntimeSleepTest, IdleAtExactlyTheLimitSleepsAndASecondLessDoesNot)
{
    std::set<Uuid> idle{ loadAt("a", now.adding(-minutes30)), loadAt("b", Date(0)) };
    auto recent = loadAt("recent", now.adding(-minutes30 + 1));
    std::set<Uuid> hooked;
    runtime.setOnWillSleep([&](const Uuid& id) { hooked.insert(id); });
    auto slept = runtime.sleepIdleWorkspaces(std::nullopt, minutes30, now, {});
    EXPECT_EQ(std::set<Uuid>(slept.begin(), slept.end()), idle);
    EXPECT_EQ(hooked, idle);
    EXPECT_EQ(runtime.loadedCount(), 1u);
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

// Relocking ignores keep-awake and camera use, and an unlock never seen in use counts as just used.
TEST_F(WorkspaceRuntimeSleepTest, RelockAfterExactlyFiveMinutesAlsoSleeps)
{
    auto stale = loadAt("stale", now.adding(-300));
    auto fresh = loadAt("fresh", now.adding(-299));
    auto shown = loadAt("shown", Date(0));
    auto busy = loadAt("busy", Date(0));
    auto neverSeen = Uuid::random();
    runtime.setCapturing(runtime.tabs(busy)[0].id, true);
    for (auto id : { stale, fresh, shown, busy, neverSeen })
        runtime.markUnlocked(id);
    int hooks = 0;
    runtime.setOnWillSleep([&](const Uuid&) { ++hooks; });

    auto relocked = runtime.relockIdle(shown, 300, now);
    EXPECT_EQ(std::set<Uuid>(relocked.begin(), relocked.end()), (std::set<Uuid>{ stale, busy }));
    EXPECT_FALSE(runtime.isUnlocked(stale));
    EXPECT_FALSE(runtime.isLoaded(stale));
    EXPECT_EQ(hooks, 2);
    for (auto id : { fresh, shown, neverSeen })
        EXPECT_TRUE(runtime.isUnlocked(id));

    runtime.markUnlocked(fresh);
    runtime.lockNow(fresh);
    EXPECT_FALSE(runtime.isUnlocked(fresh));
    EXPECT_TRUE(runtime.sleeping().get().contains(fresh));
}

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
