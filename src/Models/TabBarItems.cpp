#include "Models/TabBarItems.h"

#include "Support/Translation.h"

#include <algorithm>

namespace cohortex {

namespace {

constexpr std::int64_t badgeCap = 99;

} // namespace

std::optional<std::string> WorkspaceTabItemState::unreadBadgeText() const
{
    if (unread < 1)
        return std::nullopt;
    if (unread > badgeCap)
        return std::to_string(badgeCap) + "+";
    return std::to_string(unread);
}

std::string WorkspaceTabItemState::unreadHelp() const
{
    // TRANSLATORS: {} is how many messages are unread in a workspace.
    auto text = P_("{} unread", "{} unread", static_cast<unsigned long>(std::max<std::int64_t>(unread, 0)));
    return fillIn(text, std::to_string(unread));
}

std::optional<WorkspaceStatusSymbol> WorkspaceTabItemState::status() const
{
    if (isLockedNow)
        return WorkspaceStatusSymbol{ "lock.fill", TabBarItems::lockedHelp };
    if (isSleeping)
        return WorkspaceStatusSymbol{ "moon.zzz.fill", TabBarItems::sleepingHelp };
    return std::nullopt;
}

std::vector<WorkspaceMenuEntry> WorkspaceTabItemState::menuEntries() const
{
    using Action = WorkspaceMenuEntry::Action;
    std::vector<WorkspaceMenuEntry> entries{
        { Action::Settings, N_("Workspace Settings…") },
        { Action::SleepNow, N_("Put to Sleep Now"), isLoaded },
    };
    // Only a workspace with the lock setting can be locked again; for the others the entry is left out.
    if (workspace.isLocked())
        entries.push_back({ Action::LockNow, N_("Lock Now") });
    entries.push_back({ Action::Remove, N_("Remove…"), canClose, true, true });
    return entries;
}

std::vector<WorkspaceTabItemState> TabBarItems::workspaceItems(const Input& input)
{
    std::vector<WorkspaceTabItemState> items;
    items.reserve(input.workspaces.size());
    for (const auto& workspace : input.workspaces) {
        const auto& id = workspace.id;
        items.push_back({ .workspace = workspace,
            .isActive = input.activeWorkspaceId == id,
            .canClose = input.workspaces.size() > 1,
            .unread = input.unreadCount ? input.unreadCount(id) : 0,
            .isSleeping = input.sleeping.contains(id),
            .isLockedNow = workspace.isLocked() && !input.unlocked.contains(id),
            .isLoaded = input.tabs.contains(id) && !input.tabs.at(id).empty() });
    }
    return items;
}

std::vector<PageTabItemState> TabBarItems::pageItems(
    std::span<const BrowserTab> tabs, std::optional<Uuid> activeTabId)
{
    std::vector<PageTabItemState> items;
    items.reserve(tabs.size());
    for (const auto& tab : tabs)
        items.push_back({ tab.id, pageTitle(tab), tab.id == activeTabId, tabs.size() > 1 });
    return items;
}

std::string TabBarItems::pageTitle(const BrowserTab& tab)
{
    if (!tab.title.empty())
        return tab.title;
    auto host = tab.url.host();
    if (host && !host->empty())
        return *host;
    return _("New Tab");
}

std::string TabBarItems::removalTitle(const std::optional<WorkspaceSession>& pending)
{
    if (!pending)
        return _("Remove workspace?");
    // TRANSLATORS: the title of the alert before a workspace is removed; {} is the workspace's name.
    return fillIn(_("Remove {}?"), pending->name);
}

} // namespace cohortex
