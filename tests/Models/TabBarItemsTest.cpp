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

TEST(WorkspaceTabItem, BadgeCapsAtNinetyNinePlusAndTheLockWinsOverSleep)
{
    for (auto [unread, text] : { std::pair<std::int64_t, std::optional<std::string>>{ 0, std::nullopt },
             { 99, "99" }, { 100, "99+" } })
        EXPECT_EQ(
            (WorkspaceTabItemState{ .workspace = workspace("Mail"), .unread = unread }.unreadBadgeText()),
            text);

    WorkspaceStatusSymbol sleeping{ "moon.zzz.fill", "Sleeping to save memory. Click to wake it." };
    WorkspaceStatusSymbol locked{ "lock.fill", "Locked" };
    WorkspaceTabItemState item{ .workspace = workspace("Vault") };
    EXPECT_EQ(item.status(), std::nullopt);
    item.isSleeping = true;
    EXPECT_EQ(item.status(), sleeping);
    item.isLockedNow = true;
    EXPECT_EQ(item.status(), locked);
}

class TabBarItemsTest : public testing::Test {
protected:
    std::vector<WorkspaceTabItemState> items(std::optional<Uuid> active) const
    {
        return TabBarItems::workspaceItems({ list, active, tabs, sleeping, unlocked,
            [this](const Uuid& id) { return id == list[0].id ? std::int64_t{ 7 } : 0; } });
    }

    std::vector<WorkspaceSession> list{ workspace("Mail"), workspace("Chat"), workspace("Vault", true) };
    std::map<Uuid, std::vector<BrowserTab>> tabs{ { list[0].id,
        { BrowserTab{ Uuid::random(), *Url::parse("https://example.com/"), "" } } } };
    std::set<Uuid> sleeping, unlocked;
};

TEST_F(TabBarItemsTest, ItemsFollowTheListAndTheRuntime)
{
    sleeping = { list[1].id, list[2].id };
    auto result = items(list[1].id);
    ASSERT_EQ(result.size(), 3u);
    EXPECT_EQ(result[0].workspace.name, "Mail");
    EXPECT_TRUE(result[1].isActive);
    EXPECT_EQ(result[0].unreadHelp(), "7 unread");
    EXPECT_TRUE(result[0].isLoaded);
    EXPECT_TRUE(result[1].isSleeping);
    EXPECT_TRUE(result[2].isLockedNow);

    unlocked = { list[2].id };
    EXPECT_FALSE(items(list[1].id)[2].isLockedNow);
}

TEST_F(TabBarItemsTest, MenuOffersSleepOnlyWhenLoadedLockOnlyWithTheSettingAndNoRemovalOfTheLast)
{
    auto result = items(list[0].id);
    auto actions = [](const WorkspaceTabItemState& item) {
        std::vector<std::pair<Action, bool>> found;
        for (const auto& entry : item.menuEntries())
            found.emplace_back(entry.action, entry.isEnabled);
        return found;
    };
    using P = std::pair<Action, bool>;
    using testing::ElementsAre;
    EXPECT_THAT(actions(result[0]),
        ElementsAre(P{ Action::Settings, true }, P{ Action::SleepNow, true }, P{ Action::Remove, true }));
    EXPECT_THAT(actions(result[1]),
        ElementsAre(P{ Action::Settings, true }, P{ Action::SleepNow, false }, P{ Action::Remove, true }));
    EXPECT_THAT(actions(result[2]),
        ElementsAre(P{ Action::Settings, true }, P{ Action::SleepNow, false }, P{ Action::LockNow, true },
            P{ Action::Remove, true }));
    auto remove = result[2].menuEntries().back();
    EXPECT_TRUE(remove.isDestructive);
    EXPECT_TRUE(remove.followsDivider);

    list.erase(list.begin() + 1, list.end());
    auto single = items(list[0].id).front();
    EXPECT_FALSE(single.canClose);
    EXPECT_FALSE(single.showsCloseButton(true));
    EXPECT_FALSE(single.menuEntries().back().isEnabled);
}

TEST(PageTabItems, TitleFallsBackToHostThenNewTab)
{
    auto tab = [](std::string url, std::string title) {
        return BrowserTab{ Uuid::random(), *Url::parse(url), title };
    };
    EXPECT_EQ(TabBarItems::pageTitle(tab("https://mail.example.com/inbox", "(3) Inbox")), "(3) Inbox");
    EXPECT_EQ(TabBarItems::pageTitle(tab("https://mail.example.com/inbox", "")), "mail.example.com");
    EXPECT_EQ(TabBarItems::pageTitle(tab("about:blank", "")), "New Tab");
    EXPECT_EQ(TabBarItems::removalTitle(workspace("Client Alpha")), "Remove Client Alpha?");
}

TEST(PageTabItems, CloseButtonOnlyWithASecondTab)
{
    std::vector<BrowserTab> tabs{ { Uuid::random(), *Url::parse("about:blank"), "" } };
    EXPECT_FALSE(TabBarItems::pageItems(tabs, tabs[0].id)[0].showsCloseButton(true));

    tabs.push_back({ Uuid::random(), *Url::parse("about:blank"), "" });
    auto two = TabBarItems::pageItems(tabs, tabs[0].id);
    EXPECT_TRUE(two[0].isActive);
    EXPECT_TRUE(two[0].showsCloseButton(false)) << "the active tab";
    EXPECT_FALSE(two[1].showsCloseButton(false));
    EXPECT_TRUE(two[1].showsCloseButton(true)) << "a hovered tab";
}

} // namespace
} // namespace cohortex
