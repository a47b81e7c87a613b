#include "Models/MenuBarMenu.h"

#include "Models/MenuBarLabel.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

TEST(MenuBarMenu, RowsFollowTheListAndShowEachWorkspacesState)
{
    std::vector<WorkspaceSession> list;
    for (auto [name, shortcut] :
        { std::pair{ "Capped", 3 }, { "Vault", 9 }, { "Opened", 4 }, { "Tenth", 10 }, { "Unnumbered", 0 } })
        list.emplace_back(Uuid::random(), name, *Url::parse("https://example.com/"), std::nullopt,
            "envelope.fill", "#34C759", shortcut, Uuid::random(), Date(100), Date(100));
    list[1].requiresUnlock = list[2].requiresUnlock = true;
    std::set<Uuid> sleeping{ list[1].id, list[4].id }, unlocked{ list[2].id };
    std::map<Uuid, std::int64_t> unread{ { list[0].id, 250 }, { list[4].id, 1 } };
    MemorySavingsStats stats;
    auto menu = MenuBarMenu::build({ .workspaces = list,
        .activeWorkspaceId = list[0].id,
        .unreadCount = [&](const Uuid& id) { return unread[id]; },
        .sleeping = sleeping,
        .unlocked = unlocked,
        .stats = stats,
        .lastShortcutIndex = 9 });
    ASSERT_EQ(menu.rows.size(), 5u);
    EXPECT_TRUE(menu.rows[0].isActive);
    // The capsule caps at 99 without a plus, unlike the tray icon's count.
    EXPECT_EQ(menu.rows[0].unreadCapsule, "99");
    EXPECT_EQ(menu.rows[0].description(), "Capped, 99 unread");
    EXPECT_TRUE(menu.rows[1].needsUnlock);
    EXPECT_EQ(menu.rows[1].description(), "Vault, locked, sleeping");
    EXPECT_EQ(menu.rows[1].shortcutHint, "Ctrl+Alt+9");
    EXPECT_FALSE(menu.rows[2].needsUnlock) << "unlocked for this run";
    EXPECT_EQ(menu.rows[2].description(), "Opened");
    // No key opens a workspace past the ninth, or one without a number.
    EXPECT_EQ(menu.rows[3].shortcutHint, std::nullopt);
    EXPECT_EQ(menu.rows[4].shortcutHint, std::nullopt);
    EXPECT_EQ(menu.rows[4].description(), "Unnumbered, 1 unread, sleeping");
}

TEST(MenuBarMenu, MemoryLineAddsAppAndPagesAndSaysWhatWasSaved)
{
    std::set<Uuid> none;
    MemorySavingsStats stats{ 40, 80, 1228.8, Date(0) };
    auto menu = MenuBarMenu::build({ .workspaces = {},
        .activeWorkspaceId = std::nullopt,
        .unreadCount = {},
        .sleeping = none,
        .unlocked = none,
        .appMB = 1024,
        .pagesMB = 512,
        .stats = stats });
    EXPECT_EQ(menu.memoryLine,
        "Using 1.5 GB now. You've switched workspaces 40 times, saving about 80 context-switching clicks. "
        "Hibernating idle workspaces has freed 1.2 GB.");
}

// The icon's count and tooltip stop growing at "99+"; the launcher draws its own badge and gets the total.
TEST(MenuBarLabel, ShowsTheUnreadTotalEverywhere)
{
    struct Case {
        std::int64_t total;
        std::optional<std::string> countText;
        std::string toolTip;
        std::int64_t launcherCount;
    };
    for (const auto& expected : { Case{ 0, std::nullopt, "Nothing unread", 0 }, Case{ 1, "1", "1 unread", 1 },
             Case{ 99, "99", "99 unread", 99 }, Case{ 100, "99+", "99+ unread", 100 },
             Case{ -3, std::nullopt, "Nothing unread", 0 } }) {
        MenuBarLabel label{ expected.total };
        SCOPED_TRACE(expected.total);
        EXPECT_EQ(label.countText(), expected.countText);
        EXPECT_EQ(label.toolTipText(), expected.toolTip);
        EXPECT_EQ(label.needsAttention(), expected.launcherCount > 0);
        EXPECT_EQ(label.launcherCount(), expected.launcherCount);
        EXPECT_EQ(label.showsLauncherCount(), expected.launcherCount > 0);
    }
}

} // namespace
} // namespace cohortex
