#include "Models/MenuBarMenu.h"

#include <gtest/gtest.h>
#include <map>

namespace cohortex {
namespace {

WorkspaceSession workspace(std::string name, std::int64_t shortcutIndex, bool locked = false)
{
    WorkspaceSession session(Uuid::random(), std::move(name), *Url::parse("https://example.com/"),
        std::nullopt, "envelope.fill", "#34C759", shortcutIndex, Uuid::random(), Date(100), Date(100));
    if (locked)
        session.requiresUnlock = true;
    return session;
}

// One workspace's live state and what its row must show for it.
struct RowCase {
    const char* label;
    std::int64_t shortcutIndex;
    bool isLocked;
    bool isUnlocked;
    bool isSleeping;
    std::int64_t unread;
    std::optional<std::string> capsule;
    bool showsLock;
    std::optional<std::string> hint;
    std::string description;
};

class MenuBarRowTest : public ::testing::TestWithParam<RowCase> { };

TEST_P(MenuBarRowTest, ShowsTheWorkspacesState)
{
    const auto& expected = GetParam();
    auto session = workspace("Mail", expected.shortcutIndex, expected.isLocked);
    std::set<Uuid> sleeping;
    std::set<Uuid> unlocked;
    if (expected.isSleeping)
        sleeping.insert(session.id);
    if (expected.isUnlocked)
        unlocked.insert(session.id);
    MemorySavingsStats stats;
    std::vector list{ session };
    auto menu = MenuBarMenu::build({ .workspaces = list,
        .activeWorkspaceId = std::nullopt,
        .unreadCount = [&](const Uuid&) { return expected.unread; },
        .sleeping = sleeping,
        .unlocked = unlocked,
        .stats = stats,
        .lastShortcutIndex = 9 });
    ASSERT_EQ(menu.rows.size(), 1u);
    const auto& row = menu.rows[0];
    EXPECT_EQ(row.unreadCapsule, expected.capsule);
    EXPECT_EQ(row.needsUnlock, expected.showsLock);
    EXPECT_EQ(row.isSleeping, expected.isSleeping);
    EXPECT_EQ(row.shortcutHint, expected.hint);
    EXPECT_EQ(row.description(), expected.description);
    EXPECT_EQ(row.color, (RgbColor{ 0x34 / 255.0, 0xC7 / 255.0, 0x59 / 255.0 }));
}

INSTANTIATE_TEST_SUITE_P(States, MenuBarRowTest,
    ::testing::Values(
        RowCase{ "Plain", 1, false, false, false, 0, std::nullopt, false, "Ctrl+Alt+1", "Mail" },
        RowCase{ "Unread", 2, false, false, false, 7, "7", false, "Ctrl+Alt+2", "Mail, 7 unread" },
        RowCase{ "NinetyNine", 2, false, false, false, 99, "99", false, "Ctrl+Alt+2", "Mail, 99 unread" },
        // The capsule caps at 99 without a plus, unlike the tray icon's count.
        RowCase{ "CappedAt99", 3, false, false, false, 250, "99", false, "Ctrl+Alt+3", "Mail, 99 unread" },
        RowCase{ "LockedAndAsleep", 9, true, false, true, 0, std::nullopt, true, "Ctrl+Alt+9",
            "Mail, locked, sleeping" },
        RowCase{ "UnlockedShowsNoLock", 4, true, true, false, 0, std::nullopt, false, "Ctrl+Alt+4", "Mail" },
        // No key opens a workspace past the ninth, or one without a number.
        RowCase{ "TenthHasNoKeys", 10, false, false, false, 0, std::nullopt, false, std::nullopt, "Mail" },
        RowCase{ "UnnumberedHasNoKeys", 0, false, false, true, 1, "1", false, std::nullopt,
            "Mail, 1 unread, sleeping" }),
    [](const auto& info) { return std::string(info.param.label); });

struct MemoryCase {
    const char* label;
    double appMB;
    double pagesMB;
    MemorySavingsStats stats;
    std::string line;
};

class MenuBarMemoryLineTest : public ::testing::TestWithParam<MemoryCase> { };

TEST_P(MenuBarMemoryLineTest, SaysWhatCohortexUsesAndHasSaved)
{
    std::set<Uuid> none;
    auto menu = MenuBarMenu::build({ .workspaces = {},
        .activeWorkspaceId = std::nullopt,
        .unreadCount = {},
        .sleeping = none,
        .unlocked = none,
        .appMB = GetParam().appMB,
        .pagesMB = GetParam().pagesMB,
        .stats = GetParam().stats });
    EXPECT_EQ(menu.memoryLine, GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Readings, MenuBarMemoryLineTest,
    ::testing::Values(
        MemoryCase{ "BeforeAnySwitch", 0, 0, {},
            "Using 0 MB now. You've switched workspaces 0 times, saving about 0 context-switching clicks." },
        MemoryCase{ "AppAndPagesTogether", 212, 600, { 40, 80, 0, Date(0) },
            "Using 812 MB now. You've switched workspaces 40 times, saving about 80 context-switching "
            "clicks." },
        MemoryCase{ "GigabytesAndFreed", 1024, 512, { 40, 80, 1228.8, Date(0) },
            "Using 1.5 GB now. You've switched workspaces 40 times, saving about 80 context-switching "
            "clicks. "
            "Hibernating idle workspaces has freed 1.2 GB." }),
    [](const auto& info) { return std::string(info.param.label); });

TEST(MenuBarMenuTest, RowsFollowTheListOrderAndMarkOnlyTheActiveWorkspace)
{
    auto mail = workspace("Mail", 1);
    auto chat = workspace("Chat", 2);
    auto news = workspace("News", 3);
    std::vector list{ mail, chat, news };
    std::set<Uuid> none;
    MemorySavingsStats stats;
    std::map<Uuid, std::int64_t> unread{ { chat.id, 5 } };
    auto menu = MenuBarMenu::build({ .workspaces = list,
        .activeWorkspaceId = chat.id,
        .unreadCount = [&](const Uuid& id) { return unread[id]; },
        .sleeping = none,
        .unlocked = none,
        .stats = stats,
        .lastShortcutIndex = 9 });
    std::vector<std::string> names;
    std::vector<bool> active;
    for (const auto& row : menu.rows) {
        names.push_back(row.name);
        active.push_back(row.isActive);
    }
    EXPECT_EQ(names, (std::vector<std::string>{ "Mail", "Chat", "News" }));
    EXPECT_EQ(active, (std::vector<bool>{ false, true, false }));
    EXPECT_EQ(menu.rows[1].unreadCapsule, "5");
}

} // namespace
} // namespace cohortex
