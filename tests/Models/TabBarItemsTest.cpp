#include "Models/TabBarItems.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

using Action = WorkspaceMenuEntry::Action;

WorkspaceSession workspace(std::string name, bool requiresUnlock = false)
{
    WorkspaceSession record(Uuid::random(), std::move(name), *Url::parse("https://example.com/"),
        std::nullopt, "globe", "#FF9500", 1, Uuid::random(), Date(0), Date(0));
    if (requiresUnlock)
        record.requiresUnlock = true;
    return record;
}

struct BadgeCase {
    const char* name;
    std::int64_t unread;
    std::optional<std::string> text;
};

class UnreadBadgeText : public testing::TestWithParam<BadgeCase> { };

TEST_P(UnreadBadgeText, CapsAtNinetyNinePlus)
{
    WorkspaceTabItemState item{ .workspace = workspace("Mail"), .unread = GetParam().unread };
    EXPECT_EQ(item.unreadBadgeText(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Counts, UnreadBadgeText,
    testing::Values(BadgeCase{ "None", 0, std::nullopt }, BadgeCase{ "One", 1, "1" },
        BadgeCase{ "NinetyNine", 99, "99" }, BadgeCase{ "Hundred", 100, "99+" },
        BadgeCase{ "Largest", 99999, "99+" }),
    [](const auto& info) { return info.param.name; });

struct StatusCase {
    const char* name;
    bool isLockedNow;
    bool isSleeping;
    std::optional<WorkspaceStatusSymbol> status;
};

class WorkspaceStatus : public testing::TestWithParam<StatusCase> { };

TEST_P(WorkspaceStatus, LockedTakesPrecedenceOverSleeping)
{
    WorkspaceTabItemState item{ .workspace = workspace("Vault"),
        .isSleeping = GetParam().isSleeping,
        .isLockedNow = GetParam().isLockedNow };
    EXPECT_EQ(item.status(), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(States, WorkspaceStatus,
    testing::Values(StatusCase{ "Awake", false, false, std::nullopt },
        StatusCase{ "Sleeping", false, true,
            WorkspaceStatusSymbol{ "moon.zzz.fill", "Sleeping to save memory. Click to wake it." } },
        StatusCase{ "Locked", true, false, WorkspaceStatusSymbol{ "lock.fill", "Locked" } },
        StatusCase{ "LockedAndSleeping", true, true, WorkspaceStatusSymbol{ "lock.fill", "Locked" } }),
    [](const auto& info) { return info.param.name; });

class TabBarItemsTest : public testing::Test {
protected:
    std::vector<WorkspaceTabItemState> items(std::optional<Uuid> active) const
    {
        return TabBarItems::workspaceItems({ list, active, tabs, sleeping, unlocked,
            [this](const Uuid& id) { return id == list[0].id ? std::int64_t{ 7 } : 0; } });
    }

    std::vector<WorkspaceSession> list{ workspace("Mail"), workspace("Chat"), workspace("Vault", true) };
    std::map<Uuid, std::vector<BrowserTab>> tabs;
    std::set<Uuid> sleeping;
    std::set<Uuid> unlocked;
};

TEST_F(TabBarItemsTest, ItemsFollowTheListAndTheRuntime)
{
    tabs[list[0].id] = { BrowserTab{ Uuid::random(), *Url::parse("https://example.com/"), "" } };
    sleeping = { list[1].id, list[2].id };
    auto result = items(list[1].id);
    ASSERT_EQ(result.size(), 3u);
    EXPECT_EQ(result[0].workspace.name, "Mail");
    EXPECT_FALSE(result[0].isActive);
    EXPECT_TRUE(result[1].isActive);
    EXPECT_EQ(result[0].unread, 7);
    EXPECT_EQ(result[0].unreadHelp(), "7 unread");
    EXPECT_TRUE(result[0].isLoaded);
    EXPECT_FALSE(result[1].isLoaded);
    EXPECT_TRUE(result[1].isSleeping);
    EXPECT_TRUE(result[2].isLockedNow);
    EXPECT_TRUE(result[0].canClose);

    unlocked = { list[2].id };
    EXPECT_FALSE(items(list[1].id)[2].isLockedNow);
}

TEST_F(TabBarItemsTest, ASingleWorkspaceCannotBeRemoved)
{
    list.erase(list.begin() + 1, list.end());
    auto item = items(list[0].id).front();
    EXPECT_FALSE(item.canClose);
    EXPECT_FALSE(item.showsCloseButton(true));
    EXPECT_FALSE(item.menuEntries().back().isEnabled);
}

TEST_F(TabBarItemsTest, MenuEntriesAndTheirRules)
{
    tabs[list[0].id] = { BrowserTab{ Uuid::random(), *Url::parse("https://example.com/"), "" } };
    auto result = items(list[0].id);
    auto actions = [](const WorkspaceTabItemState& item) {
        std::vector<std::pair<Action, bool>> found;
        for (const auto& entry : item.menuEntries())
            found.emplace_back(entry.action, entry.isEnabled);
        return found;
    };
    using P = std::pair<Action, bool>;
    // Loaded, no lock: it can sleep, and "Lock Now" is absent.
    EXPECT_THAT(actions(result[0]),
        testing::ElementsAre(
            P{ Action::Settings, true }, P{ Action::SleepNow, true }, P{ Action::Remove, true }));
    // Never opened since launch: nothing to put to sleep.
    EXPECT_THAT(actions(result[1]),
        testing::ElementsAre(
            P{ Action::Settings, true }, P{ Action::SleepNow, false }, P{ Action::Remove, true }));
    // With the lock setting, "Lock Now" sits before the divider and "Remove…".
    EXPECT_THAT(actions(result[2]),
        testing::ElementsAre(P{ Action::Settings, true }, P{ Action::SleepNow, false },
            P{ Action::LockNow, true }, P{ Action::Remove, true }));
    auto remove = result[2].menuEntries().back();
    EXPECT_TRUE(remove.isDestructive);
    EXPECT_TRUE(remove.followsDivider);
    EXPECT_EQ(remove.label, "Remove…");
}

TEST(PageTabItems, TitleFallsBackToHostThenNewTab)
{
    auto tab = [](std::string url, std::string title) {
        return BrowserTab{ Uuid::random(), *Url::parse(url), std::move(title) };
    };
    EXPECT_EQ(TabBarItems::pageTitle(tab("https://mail.example.com/inbox", "(3) Inbox")), "(3) Inbox");
    EXPECT_EQ(TabBarItems::pageTitle(tab("https://mail.example.com/inbox", "")), "mail.example.com");
    EXPECT_EQ(TabBarItems::pageTitle(tab("about:blank", "")), "New Tab");
    EXPECT_EQ(TabBarItems::pageTitle(tab("file:///tmp/a.html", "")), "New Tab");
}

TEST(PageTabItems, CloseButtonOnlyWithASecondTab)
{
    std::vector<BrowserTab> tabs{ { Uuid::random(), *Url::parse("about:blank"), "" } };
    auto one = TabBarItems::pageItems(tabs, tabs[0].id);
    EXPECT_TRUE(one[0].isActive);
    EXPECT_FALSE(one[0].showsCloseButton(true));

    tabs.push_back({ Uuid::random(), *Url::parse("about:blank"), "" });
    auto two = TabBarItems::pageItems(tabs, tabs[0].id);
    EXPECT_TRUE(two[0].showsCloseButton(false));
    EXPECT_FALSE(two[1].showsCloseButton(false));
    EXPECT_TRUE(two[1].showsCloseButton(true));
}

TEST(TabBarRemoval, TitleNamesThePendingWorkspace)
{
    EXPECT_EQ(TabBarItems::removalTitle(workspace("Client Alpha")), "Remove Client Alpha?");
    EXPECT_EQ(TabBarItems::removalTitle(std::nullopt), "Remove workspace?");
}

} // namespace
} // namespace cohortex
