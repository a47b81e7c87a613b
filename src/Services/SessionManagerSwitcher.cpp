#include "Services/IdleTime.h"
#include "Services/SessionManager.h"
#include "Services/TimeTracker.h"
#include "Services/WindowHost.h"
#include "Services/WorkspaceRuntime.h"

namespace cohortex {

namespace {

std::string hostOf(const Url& url)
{
    return url.host().value_or("");
}

} // namespace

std::vector<SwitcherItem> SessionManager::switcherItems() const
{
    std::vector<SwitcherItem> items;
    for (const auto& workspace : m_workspaces.get()) {
        const auto& tabs = m_runtime.tabs(workspace.id);
        auto selected = m_runtime.activeTab(workspace.id);
        auto subtitle = selected ? hostOf(selected->url) : std::string();
        if (subtitle.empty())
            subtitle = hostOf(workspace.initialURL);
        items.emplace_back(workspace.id, std::nullopt, workspace.name, subtitle);
        // A single tab adds nothing the workspace row does not already offer.
        if (tabs.size() < 2)
            continue;
        for (const auto& tab : tabs) {
            auto host = hostOf(tab.url);
            auto title = !tab.title.empty() ? tab.title : !host.empty() ? host : std::string("tab");
            items.emplace_back(workspace.id, tab.id, title, workspace.name + " \u00b7 " + host);
        }
    }
    return items;
}

void SessionManager::select(const SwitcherItem& item)
{
    m_showingQuickSwitcher.set(false);
    auto target = workspace(item.workspaceId);
    if (!target)
        return;
    openWorkspace(*target);
    if (item.tabId)
        m_runtime.selectTab(*item.tabId, item.workspaceId);
}

void SessionManager::showQuickSwitcher()
{
    m_window.showMainWindow();
    ensureActiveLoaded();
    m_showingQuickSwitcher.set(true);
}

void SessionManager::timeTick()
{
    bool visible = m_window.isMainWindowVisible();
    std::optional<Uuid> counted;
    if (auto active = activeWorkspace(); visible && active && !needsUnlock(*active))
        counted = active->id;
    m_runtime.flushIfNeeded();
    m_timeTracker.tick(counted, m_window.isApplicationActive(), visible, m_idleTime.systemIdleSeconds(),
        m_queue.now(), m_calendar);
}

} // namespace cohortex
