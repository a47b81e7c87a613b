#include "Models/MenuBarMenu.h"

#include "Models/MenuBarLabel.h"
#include "Models/PanelPlacement.h"
#include "Models/StillRunningNotice.h"

#include <gtest/gtest.h>
#include <vector>

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
    // The row's count caps at 99 without a plus, unlike the tray icon's count.
    EXPECT_EQ(menu.rows[0].description(), "Capped, 99 unread");
    EXPECT_EQ(menu.rows[1].description(), "Vault, locked, sleeping");
    EXPECT_EQ(menu.rows[1].shortcutHint, "Ctrl+Alt+9");
    EXPECT_EQ(menu.rows[2].description(), "Opened") << "unlocked for this run";
    EXPECT_EQ(menu.rows[3].shortcutHint, std::nullopt) << "no key opens a workspace past the ninth";
    EXPECT_EQ(menu.rows[4].description(), "Unnumbered, 1 unread, sleeping");
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
    for (const auto& expected : { Case{ 0, std::nullopt, "Nothing unread", 0 },
             Case{ 99, "99", "99 unread", 99 }, Case{ 100, "99+", "99+ unread", 100 } }) {
        MenuBarLabel label{ expected.total };
        SCOPED_TRACE(expected.total);
        EXPECT_EQ(label.countText(), expected.countText);
        EXPECT_EQ(label.toolTipText(), expected.toolTip);
        EXPECT_EQ(label.launcherCount(), expected.launcherCount);
    }
}

// Once per run, and only when nothing else on screen leads back to Cohortex.
TEST(StillRunningNotice, TellsOnceWhenNoTrayIconLeadsBack)
{
    struct Case {
        std::vector<bool> trayShownAtEachClose, notified;
    };
    // The last: the panel with the tray went away during the run, so the first close without it tells.
    for (const auto& [trayShown, expected] :
        { Case{ { false, false, false }, { true, false, false } }, Case{ { true, true }, { false, false } },
            Case{ { true, false, false }, { false, true, false } } }) {
        StillRunningNotice notice;
        std::vector<bool> notified;
        for (bool shown : trayShown)
            notified.push_back(notice.windowClosed(shown));
        EXPECT_EQ(notified, expected);
    }
}

TEST(PanelPlacement, OpensWholeOnScreenNextToTheIcon)
{
    constexpr int width = 300, height = 400, gap = PanelPlacement::margin;
    constexpr ScreenRect screen{ 0, 0, 1920, 1080 }, rightMonitor{ 1920, 0, 1280, 1024 };
    struct Case {
        const char* label;
        ScreenPoint click;
        std::optional<ScreenPoint> pointer;
        ScreenRect monitor;
        ScreenPoint origin;
    };
    // clang-format off
    for (const auto& expected : {
             Case{ "top bar: centred under the click", { 1000, 12 }, std::nullopt, screen, { 850, 12 + gap } },
             Case{ "top bar right end: pushed left", { 1910, 12 }, std::nullopt, screen, { 1920 - gap - width, 12 + gap } },
             Case{ "bottom panel: above the click", { 1000, 1070 }, std::nullopt, screen, { 850, 1070 - gap - height } },
             Case{ "no point nor pointer (Wayland): the corner", { 0, 0 }, std::nullopt, screen, { gap, gap } },
             Case{ "second monitor's edge", { 3190, 10 }, std::nullopt, rightMonitor, { 1920 + 1280 - gap - width, 10 + gap } } }) {
        // clang-format on
        SCOPED_TRACE(expected.label);
        auto origin = PanelPlacement::origin(
            PanelPlacement::anchor(expected.click, expected.pointer), width, height, expected.monitor);
        EXPECT_EQ(origin, expected.origin);
    }
}

} // namespace
} // namespace cohortex
