#include "Models/MenuBarMenu.h"

#include <array>

namespace cohortex {

namespace {

constexpr std::int64_t largestCapsule = 99;

constexpr std::array<MenuBarCommand, 5> menuCommands{ {
    { "Quick Switcher...", "magnifyingglass", "quick-switcher", {}, false },
    { "New Container Workspace...", "plus.square", "new-workspace", {}, false },
    { "Settings...", "gearshape", "settings", {}, false },
    // The package manager installs new versions of Cohortex; the entry says so rather than vanishing, so
    // that nobody goes looking for it.
    { "Check for Updates...", "arrow.triangle.2.circlepath", std::nullopt,
        "Your package manager keeps Cohortex up to date", false },
    { "Quit Cohortex", "power", "quit", {}, true },
} };

std::optional<std::string> capsule(std::int64_t unread)
{
    if (unread < 1)
        return std::nullopt;
    return std::to_string(std::min(unread, largestCapsule));
}

// The same keys the window answers to and the global shortcuts use; the workspaces past the last of them
// have none.
std::optional<std::string> shortcutHint(std::int64_t shortcutIndex, std::int64_t lastShortcutIndex)
{
    if (shortcutIndex < 1 || shortcutIndex > lastShortcutIndex)
        return std::nullopt;
    return "Ctrl+Alt+" + std::to_string(shortcutIndex);
}

} // namespace

std::string MenuBarRow::description() const
{
    auto text = name;
    if (unreadCapsule)
        text += ", " + *unreadCapsule + " unread";
    if (needsUnlock)
        text += ", locked";
    if (isSleeping)
        text += ", sleeping";
    return text;
}

MenuBarMenu MenuBarMenu::build(const Input& input)
{
    MenuBarMenu menu;
    menu.rows.reserve(input.workspaces.size());
    for (const auto& workspace : input.workspaces) {
        const auto& id = workspace.id;
        menu.rows.push_back({ .workspaceId = id,
            .name = workspace.name,
            .color = workspace.displayColor(),
            .iconSymbol = workspace.iconSymbol,
            .isActive = input.activeWorkspaceId == id,
            .unreadCapsule = capsule(input.unreadCount ? input.unreadCount(id) : 0),
            .needsUnlock = workspace.isLocked() && !input.unlocked.contains(id),
            .isSleeping = input.sleeping.contains(id),
            .shortcutHint = shortcutHint(workspace.shortcutIndex, input.lastShortcutIndex) });
    }
    menu.memoryLine = "Using " + MemorySavingsStats::format(input.appMB + input.pagesMB) + " now. "
        + input.stats.summaryMessage();
    return menu;
}

std::span<const MenuBarCommand> MenuBarMenu::commands()
{
    return menuCommands;
}

} // namespace cohortex
