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

// The lock wins over sleep: a locked workspace is asleep too, and the lock is what the user must act on.
TEST_F(TabBarItemsTest, ItemsFollowTheListAndTheRuntimeAndTheLockWinsOverSleep)
{
    sleeping = { list[1].id, list[2].id };
    auto result = items(list[1].id);
    ASSERT_EQ(result.size(), 3u);
    EXPECT_TRUE(result[1].isActive);
    EXPECT_TRUE(result[0].isLoaded);
    EXPECT_EQ(result[0].status(), std::nullopt);
    EXPECT_EQ(result[1].status().value().symbol, "moon.zzz.fill");
    EXPECT_EQ(result[2].status().value().symbol, "lock.fill");
    unlocked = { list[2].id };
    EXPECT_EQ(items(list[1].id)[2].status().value().symbol, "moon.zzz.fill");
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

    list.erase(list.begin() + 1, list.end());
    auto single = items(list[0].id).front();
    EXPECT_FALSE(single.canClose);
    EXPECT_FALSE(single.showsCloseButton(true));
    EXPECT_FALSE(single.menuEntries().back().isEnabled);
}

TEST(PageTabItems, TitleFallsBackToHostAndOnlyASecondTabCanBeClosed)
{
    auto tab = [](std::string url, std::string title) {
        return BrowserTab{ Uuid::random(), *Url::parse(url), title };
    };
    EXPECT_EQ(TabBarItems::pageTitle(tab("https://mail.example.com/inbox", "")), "mail.example.com");

    std::vector<BrowserTab> tabs{ tab("about:blank", "") };
    EXPECT_FALSE(TabBarItems::pageItems(tabs, tabs[0].id)[0].showsCloseButton(true));

    tabs.push_back(tab("about:blank", ""));
    auto two = TabBarItems::pageItems(tabs, tabs[0].id);
    EXPECT_TRUE(two[0].showsCloseButton(false)) << "the active tab";
    EXPECT_FALSE(two[1].showsCloseButton(false));
    EXPECT_TRUE(two[1].showsCloseButton(true)) << "a hovered tab";
}

} // namespace
} // namespace cohortex
