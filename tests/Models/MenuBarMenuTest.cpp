#include "Models/MenuBarMenu.h"

#include "Models/MenuBarLabel.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

TEST(MenuBarMenu, RowsFollowTheListAndShowEachWorkspacesState)
{
    struct Case {
        const char* name;
        std::int64_t shortcutIndex;
        bool isLocked, isUnlocked, isSleeping;
        std::int64_t unread;
        std::optional<std::string> capsule;
        bool showsLock;
        std::optional<std::string> hint;
        std::string description;
    };
    // clang-format off
    const std::vector<Case> cases{
        // The capsule caps at 99 without a plus, unlike the tray icon's count.
        { "Capped", 3, false, false, false, 250, "99", false, "Ctrl+Alt+3", "Capped, 99 unread" },
        { "Vault", 9, true, false, true, 0, std::nullopt, true, "Ctrl+Alt+9", "Vault, locked, sleeping" },
        { "Opened", 4, true, true, false, 0, std::nullopt, false, "Ctrl+Alt+4", "Opened" },
        // No key opens a workspace past the ninth, or one without a number.
        { "Tenth", 10, false, false, false, 0, std::nullopt, false, std::nullopt, "Tenth" },
        { "Unnumbered", 0, false, false, true, 1, "1", false, std::nullopt, "Unnumbered, 1 unread, sleeping" } };
    // clang-format on
    std::vector<WorkspaceSession> list;
    std::set<Uuid> sleeping, unlocked;
    std::map<Uuid, std::int64_t> unread;
    for (const auto& row : cases) {
        list.emplace_back(Uuid::random(), row.name, *Url::parse("https://example.com/"), std::nullopt,
            "envelope.fill", "#34C759", row.shortcutIndex, Uuid::random(), Date(100), Date(100));
        if (row.isLocked)
            list.back().requiresUnlock = true;
        if (row.isSleeping)
            sleeping.insert(list.back().id);
        if (row.isUnlocked)
            unlocked.insert(list.back().id);
        unread[list.back().id] = row.unread;
    }
    MemorySavingsStats stats;
    auto menu = MenuBarMenu::build({ .workspaces = list,
        .activeWorkspaceId = list[0].id,
        .unreadCount = [&](const Uuid& id) { return unread[id]; },
        .sleeping = sleeping,
        .unlocked = unlocked,
        .stats = stats,
        .lastShortcutIndex = 9 });
    ASSERT_EQ(menu.rows.size(), cases.size());
    for (std::size_t index = 0; index < cases.size(); ++index) {
        const auto& row = menu.rows[index];
        const auto& expected = cases[index];
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(row.isActive, index == 0);
        EXPECT_EQ(row.unreadCapsule, expected.capsule);
        EXPECT_EQ(row.needsUnlock, expected.showsLock);
        EXPECT_EQ(row.isSleeping, expected.isSleeping);
        EXPECT_EQ(row.shortcutHint, expected.hint);
        EXPECT_EQ(row.description(), expected.description);
    }
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
