#include "Models/MenuBarMenu.h"

#include "Support/Translation.h"

#include <array>
#include <charconv>

namespace cohortex {

namespace {

constexpr std::int64_t largestCapsule = 99;

constexpr std::array<MenuBarCommand, 5> menuCommands{ {
    { N_("Quick Switcher..."), "magnifyingglass", "quick-switcher", {}, false },
    { N_("New Container Workspace..."), "plus.square", "new-workspace", {}, false },
    { N_("Settings..."), "gearshape", "settings", {}, false },
    // The package manager installs new versions of Cohortex; the entry says so rather than vanishing, so
    // that nobody goes looking for it.
    { N_("Check for Updates..."), "arrow.triangle.2.circlepath", std::nullopt,
        N_("Your package manager keeps Cohortex up to date"), false },
    { N_("Quit Cohortex"), "power", "quit", {}, true },
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
    return std::string(C_("keyboard label", "Ctrl")) + "+" + C_("keyboard label", "Alt") + "+"
        + std::to_string(shortcutIndex);
}

} // namespace

std::string MenuBarRow::description() const
{
    auto text = name;
    if (unreadCapsule) {
        unsigned long count = 0;
        std::from_chars(unreadCapsule->data(), unreadCapsule->data() + unreadCapsule->size(), count);
        // TRANSLATORS: a workspace as a screen reader says it; {0} is its name, {1} how many messages are
        // unread in it.
        text = fillIn(P_("{0}, {1} unread", "{0}, {1} unread", count), text, *unreadCapsule);
    }
    if (needsUnlock)
        // TRANSLATORS: a workspace as a screen reader says it; {} is its name and what was said before.
        text = fillIn(_("{}, locked"), text);
    if (isSleeping)
        // TRANSLATORS: a workspace as a screen reader says it; {} is its name and what was said before.
        text = fillIn(_("{}, sleeping"), text);
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
    // TRANSLATORS: {0} is the memory Cohortex uses ("612 MB"); {1} the sentences on what it saved since.
    menu.memoryLine = fillIn(_("Using {0} now. {1}"), MemorySavingsStats::format(input.appMB + input.pagesMB),
        input.stats.summaryMessage());
    return menu;
}

std::span<const MenuBarCommand> MenuBarMenu::commands()
{
    return menuCommands;
}

} // namespace cohortex
