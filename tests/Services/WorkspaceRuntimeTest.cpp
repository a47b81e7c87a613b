#include "Services/WorkspaceRuntime.h"

#include "Fakes/FakeAuthenticator.h"
#include "Fakes/MemoryDefaults.h"
#include "Services/OpenTabStore.h"
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

WorkspaceSession makeWorkspace(std::string name)
{
    return WorkspaceSession(Uuid::random(), name, url("https://" + name + ".example/"), std::nullopt, "globe",
        "#000000", 1, Uuid::random(), Date(0), Date(0));
}

class WorkspaceRuntimeTest : public ::testing::Test {
protected:
    // A loaded workspace with one tab per address, the first active.
    WorkspaceSession loadedWith(std::string name, std::vector<std::string> addresses)
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

    Uuid loadAt(std::string name, Date lastUse)
    {
        auto workspace = makeWorkspace(std::move(name));
        runtime.load(workspace, lastUse);
        return workspace.id;
    }

    std::vector<std::string> addresses(const WorkspaceRuntime& from, const Uuid& id) const
    {
        std::vector<std::string> result;
        for (const auto& tab : from.tabs(id))
            result.push_back(tab.url.absoluteString());
        return result;
    }

    std::size_t activeIndex(const WorkspaceRuntime& from, const Uuid& id) const
    {
        const auto& list = from.tabs(id);
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (list[i].id == from.activeTab(id)->id)
                return i;
        }
        return SIZE_MAX;
    }

    MemoryDefaults defaults;
    ManualMainQueue queue;
    WorkspaceRuntime runtime{ &defaults };
    Date now{ 100000 };
};

// Closing the active tab selects the one to its right, or the new last one.
TEST_F(WorkspaceRuntimeTest, ClosingPicksTheRightNeighbourOrTheNewLastTab)
{
    struct Case {
        std::size_t active;
        std::size_t closed;
        std::size_t expectedActive; // in the shortened list
    };
    for (auto [active, closed, expectedActive] : { Case{ 1, 1, 1 }, Case{ 2, 2, 1 }, Case{ 2, 0, 1 } }) {
        auto workspace
            = loadedWith("w", { "https://0.example/", "https://1.example/", "https://2.example/" });
        const auto& list = runtime.tabs(workspace.id);
        runtime.selectTab(list[active].id, workspace.id);
        runtime.closeTab(list[closed].id, workspace.id);
        EXPECT_EQ(runtime.tabs(workspace.id).size(), 2u);
        EXPECT_EQ(activeIndex(runtime, workspace.id), expectedActive) << active << " " << closed;
    }
}

TEST_F(WorkspaceRuntimeTest, SleepKeepsTheAddressesAndActiveTabForTheNextLoad)
{
    auto workspace = loadedWith("w", { "https://a.example/", "https://b.example/" });
    auto capturingTab = runtime.tabs(workspace.id)[1].id;
    runtime.selectTab(capturingTab, workspace.id);
    runtime.setCapturing(capturingTab, true);
    std::vector<Uuid> hooked;
    // The hook still sees the pages it is about to lose.
    runtime.setOnWillSleep([&](const Uuid& id) {
        EXPECT_TRUE(runtime.isLoaded(id));
        hooked.push_back(id);
    });

    runtime.sleep(workspace.id);
    runtime.sleep(workspace.id);
    EXPECT_EQ(hooked, std::vector<Uuid>{ workspace.id });
    EXPECT_TRUE(runtime.sleeping().get().contains(workspace.id));
    EXPECT_FALSE(runtime.isCapturing(capturingTab));

    runtime.load(workspace, Date(5));
    EXPECT_EQ(addresses(runtime, workspace.id),
        (std::vector<std::string>{ "https://a.example/", "https://b.example/" }));
    EXPECT_EQ(activeIndex(runtime, workspace.id), 1u);
    EXPECT_FALSE(runtime.sleeping().get().contains(workspace.id));
}

// The snapshot keeps web tabs and counts the active index among them; a sleeping workspace is written as
// it was kept and filtered when it is read back.
TEST_F(WorkspaceRuntimeTest, OpenTabsComeBackAfterARelaunchAsSavedNotSleeping)
{
    auto mixed = loadedWith("mixed", { "https://a.example/", "about:blank", "http://b.example/" });
    runtime.selectTab(runtime.tabs(mixed.id)[1].id, mixed.id);
    auto fileOnly = loadedWith("file", { "file:///home/ada/notes.html" });
    auto asleep = loadedWith("asleep", { "about:blank", "https://c.example/", "https://d.example/" });
    runtime.selectTab(runtime.tabs(asleep.id)[2].id, asleep.id);
    runtime.sleep(asleep.id);
    auto snapshot = runtime.currentSnapshot();
    EXPECT_EQ(
        snapshot.at(mixed.id.string()), (TabSnapshot{ { "https://a.example/", "http://b.example/" }, 0 }));
    EXPECT_FALSE(snapshot.contains(fileOnly.id.string()));
    runtime.saveNow();

    WorkspaceRuntime relaunched(&defaults);
    EXPECT_TRUE(relaunched.sleeping().get().empty());
    EXPECT_FALSE(relaunched.isDirty());
    relaunched.load(asleep, Date(0));
    EXPECT_EQ(addresses(relaunched, asleep.id),
        (std::vector<std::string>{ "https://c.example/", "https://d.example/" }));
    // The stored index 2 counted the blank page, which is gone now, so it lands on the last tab.
    EXPECT_EQ(activeIndex(relaunched, asleep.id), 1u);
}

TEST_F(WorkspaceRuntimeTest, DamagedStoredTabsRestoreNothingAndStayUntilTheNextWrite)
{
    std::string damaged = R"({"0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9": {"urls": ["https://a.example/"]}})";
    defaults.setData(
        keys::openTabs, std::span(reinterpret_cast<const std::uint8_t*>(damaged.data()), damaged.size()));
    WorkspaceRuntime relaunched(&defaults);
    EXPECT_TRUE(relaunched.currentSnapshot().empty());
    EXPECT_EQ(defaults.data(keys::openTabs), Bytes(damaged.begin(), damaged.end()));
}

// Idle exactly the limit sleeps, a second less does not; the shown, kept-awake and camera-using
// workspaces are skipped, the last one only while its call lasts.
TEST_F(WorkspaceRuntimeTest, TheSweepSleepsIdleWorkspacesButNeverOneInACall)
{
    constexpr double minutes30 = 30 * 60;
    auto idle = loadAt("idle", now.adding(-minutes30));
    loadAt("recent", now.adding(-minutes30 + 1));
    auto shown = loadAt("shown", Date(0));
    auto awake = loadAt("awake", Date(0));
    auto call = loadAt("call", Date(0));
    runtime.setCapturing(runtime.tabs(call)[0].id, true);
    std::vector<Uuid> hooked;
    runtime.setOnWillSleep([&](const Uuid& id) { hooked.push_back(id); });
    EXPECT_EQ(runtime.sleepIdleWorkspaces(shown, minutes30, now, { awake }), std::vector<Uuid>{ idle });
    EXPECT_EQ(hooked, std::vector<Uuid>{ idle });

    runtime.setCapturing(runtime.tabs(call)[0].id, false);
    EXPECT_EQ(runtime.sleepIdleWorkspaces(shown, minutes30, now, { awake }), std::vector<Uuid>{ call });
}

// Relocking ignores keep-awake and camera use, and an unlock never seen in use counts as just used.
TEST_F(WorkspaceRuntimeTest, RelockAfterExactlyFiveMinutesAlsoSleeps)
{
    auto stale = loadAt("stale", now.adding(-300));
    auto fresh = loadAt("fresh", now.adding(-299));
    auto shown = loadAt("shown", Date(0));
    auto busy = loadAt("busy", Date(0));
    auto neverSeen = Uuid::random();
    runtime.setCapturing(runtime.tabs(busy)[0].id, true);
    for (auto id : { stale, fresh, shown, busy, neverSeen })
        runtime.markUnlocked(id);

    auto relocked = runtime.relockIdle(shown, 300, now);
    EXPECT_EQ(std::set<Uuid>(relocked.begin(), relocked.end()), (std::set<Uuid>{ stale, busy }));
    EXPECT_FALSE(runtime.isUnlocked(stale));
    EXPECT_FALSE(runtime.isLoaded(stale));
    for (auto id : { fresh, shown, neverSeen })
        EXPECT_TRUE(runtime.isUnlocked(id));
}

// One prompt per workspace at a time; a success stamps the time the call began.
TEST_F(WorkspaceRuntimeTest, OnlyOneUnlockPromptPerWorkspaceAtATime)
{
    testing::FakeAuthenticator authenticator;
    auto workspace = Uuid::random();
    auto first = runtime.unlock(workspace, "Client Alpha", authenticator, Date(500));
    auto second = runtime.unlock(workspace, "Client Alpha", authenticator, Date(500));
    EXPECT_EQ(second.result(), Authentication::Failed);
    EXPECT_EQ(authenticator.openPrompts(), 1u);

    authenticator.answer(false);
    queue.runPending();
    EXPECT_FALSE(runtime.isUnlocked(workspace));
    // After a refusal the next attempt prompts again.
    auto retry = runtime.unlock(workspace, "Client Alpha", authenticator, Date(500));
    queue.advance(60);
    authenticator.answer(true);
    queue.runPending();
    EXPECT_EQ(retry.result(), Authentication::Succeeded);
    EXPECT_EQ(runtime.lastActive(workspace), Date(500));
}

Expected<OpenTabSnapshots> decode(std::string_view text)
{
    return decodeOpenTabs(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

const char* workspaceA = "0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9";

TEST(OpenTabStoreTest, RestoreKeepsOnlyWebAddressesOfWorkspaceMembers)
{
    auto decoded = decode(std::string(R"({")") + workspaceA
        + R"(": {"urls": ["http://exa mple.com", "mailto:ada@example.com", "https://b.example/x"], "activeIndex": 2},
              "not-a-uuid": {"urls": ["https://c.example/"], "activeIndex": 0},
              "11111111-2222-4333-8444-555555555555": {"urls": ["file:///etc/passwd", "about:blank"], "activeIndex": 0}})");
    ASSERT_TRUE(decoded) << decoded.error().message;
    auto sessions = restoredSessions(*decoded);
    ASSERT_EQ(sessions.size(), 1u);
    const auto& session = sessions.at(*Uuid::parse(workspaceA));
    ASSERT_EQ(session.urls.size(), 1u);
    EXPECT_EQ(session.urls[0].absoluteString(), "https://b.example/x");
    EXPECT_EQ(session.activeIndex, 0);
}

} // namespace
} // namespace cohortex
