#include "Services/WorkspaceRuntime.h"

#include "Fakes/MemoryDefaults.h"
#include "Services/StoredKeys.h"

#include <gtest/gtest.h>

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

TEST_F(WorkspaceRuntimeTest, FirstLoadOpensTheInitialSiteNotTheLastPage)
{
    WorkspaceRuntime runtime(&defaults);
    auto workspace = makeWorkspace("mail");
    runtime.load(workspace, Date(10));
    EXPECT_EQ(addresses(runtime, workspace.id), std::vector<std::string>{ "https://mail.example/" });
    EXPECT_EQ(activeIndex(runtime, workspace.id), 0u);
    EXPECT_EQ(runtime.lastActive(workspace.id), Date(10));
    EXPECT_TRUE(runtime.isDirty());
}

TEST_F(WorkspaceRuntimeTest, LoadingALoadedWorkspaceOnlyRefreshesItsLastUse)
{
    WorkspaceRuntime runtime(&defaults);
    auto workspace = loadedWith(runtime, "mail", { "https://a.example/", "https://b.example/" });
    runtime.selectTab(runtime.tabs(workspace.id)[1].id, workspace.id);
    auto before = runtime.tabs(workspace.id);
    runtime.load(workspace, Date(99));
    EXPECT_EQ(runtime.tabs(workspace.id), before);
    EXPECT_EQ(activeIndex(runtime, workspace.id), 1u);
    EXPECT_EQ(runtime.lastActive(workspace.id), Date(99));
}

struct CloseCase {
    std::size_t tabCount;
    std::size_t active;
    std::size_t closed;
    std::size_t expectedActive; // index in the shortened list
};

class CloseTabTest : public WorkspaceRuntimeTest, public ::testing::WithParamInterface<CloseCase> { };

TEST_P(CloseTabTest, PicksTheRightNeighbourOrTheNewLastTab)
{
    WorkspaceRuntime runtime(nullptr);
    std::vector<std::string> sites;
    for (std::size_t i = 0; i < GetParam().tabCount; ++i)
        sites.push_back("https://tab" + std::to_string(i) + ".example/");
    auto workspace = loadedWith(runtime, "w", sites);
    const auto& list = runtime.tabs(workspace.id);
    runtime.selectTab(list[GetParam().active].id, workspace.id);
    auto closed = list[GetParam().closed].id;
    runtime.closeTab(closed, workspace.id);
    EXPECT_EQ(runtime.tabs(workspace.id).size(), GetParam().tabCount - 1);
    EXPECT_EQ(activeIndex(runtime, workspace.id), GetParam().expectedActive);
}

INSTANTIATE_TEST_SUITE_P(Cases, CloseTabTest,
    ::testing::Values(CloseCase{ 3, 1, 1, 1 }, // active middle: the tab to its right takes its place
        CloseCase{ 3, 2, 2, 1 }, // active last: the new last tab
        CloseCase{ 3, 0, 2, 0 }, // inactive: the active tab stays
        CloseCase{ 3, 2, 0, 1 })); // inactive before the active one: the same tab, now one place left

TEST_F(WorkspaceRuntimeTest, TheLastTabAndUnknownTabsAreNeverClosed)
{
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

TEST_F(WorkspaceRuntimeTest, SnapshotKeepsWebTabsAndCountsTheActiveIndexAmongThem)
{
    WorkspaceRuntime runtime(nullptr);
    auto mixed = loadedWith(runtime, "mixed", { "https://a.example/", "about:blank", "http://b.example/" });
    runtime.selectTab(runtime.tabs(mixed.id)[1].id, mixed.id);
    auto fileOnly = loadedWith(runtime, "file", { "file:///home/ada/notes.html" });
    auto asleep = loadedWith(runtime, "asleep", { "about:blank", "https://c.example/" });
    runtime.selectTab(runtime.tabs(asleep.id)[1].id, asleep.id);
    runtime.sleep(asleep.id);

    auto snapshot = runtime.currentSnapshot();
    EXPECT_EQ(
        snapshot.at(mixed.id.string()), (TabSnapshot{ { "https://a.example/", "http://b.example/" }, 0 }));
    EXPECT_FALSE(snapshot.contains(fileOnly.id.string()));
    // A sleeping workspace is written as it was kept; the filter applies when it is read back.
    EXPECT_EQ(snapshot.at(asleep.id.string()), (TabSnapshot{ { "about:blank", "https://c.example/" }, 1 }));
}

TEST_F(WorkspaceRuntimeTest, OpenTabsComeBackAfterARelaunchAsSavedNotSleeping)
{
    WorkspaceSession asleep = makeWorkspace("asleep");
    WorkspaceSession open = makeWorkspace("open");
    {
        WorkspaceRuntime runtime(&defaults);
        asleep = loadedWith(runtime, "asleep", { "about:blank", "https://c.example/", "https://d.example/" });
        runtime.selectTab(runtime.tabs(asleep.id)[2].id, asleep.id);
        runtime.sleep(asleep.id);
        open = loadedWith(runtime, "open", { "https://e.example/", "https://f.example/" });
        runtime.selectTab(runtime.tabs(open.id)[1].id, open.id);
        runtime.saveNow();
    }
    WorkspaceRuntime relaunched(&defaults);
    EXPECT_FALSE(relaunched.isLoaded(asleep.id));
    EXPECT_TRUE(relaunched.sleeping().get().empty());
    EXPECT_FALSE(relaunched.isDirty());
    relaunched.load(asleep, Date(0));
    relaunched.load(open, Date(0));
    EXPECT_EQ(addresses(relaunched, asleep.id),
        (std::vector<std::string>{ "https://c.example/", "https://d.example/" }));
    // The stored index 2 counted the blank page, which is gone now, so it lands on the last tab.
    EXPECT_EQ(activeIndex(relaunched, asleep.id), 1u);
    EXPECT_EQ(activeIndex(relaunched, open.id), 1u);
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
    runtime.updateTab(runtime.tabs(workspace.id)[0].id, workspace.id, "Title only", std::nullopt);
    runtime.flushIfNeeded();
    EXPECT_EQ(defaults.writeCount(), writes);
    runtime.newTab(workspace.id, url("https://x.example/"));
    runtime.flushIfNeeded();
    EXPECT_EQ(defaults.writeCount(), writes + 1);
    runtime.saveNow();
    EXPECT_EQ(defaults.writeCount(), writes + 2);
}

} // namespace
} // namespace cohortex
