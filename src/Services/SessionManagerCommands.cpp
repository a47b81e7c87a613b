#include "Services/DataStores.h"
#include "Services/SessionManager.h"
#include "Services/WindowHost.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/MainQueue.h"

namespace cohortex {

void SessionManager::sleepNow(const WorkspaceSession& target)
{
    m_runtime.sleep(target.id);
    // The workspace on screen comes straight back from its saved addresses, with fresh pages.
    auto active = activeWorkspace();
    if (active && active->id == target.id && m_window.isMainWindowVisible())
        ensureActiveLoaded();
}

void SessionManager::lockNow(const WorkspaceSession& target)
{
    if (target.isLocked())
        m_runtime.lockNow(target.id);
}

void SessionManager::newTabInActiveWorkspace(std::optional<Url> url)
{
    auto active = activeWorkspace();
    if (!active || needsUnlock(*active))
        return;
    // A new tab opens the site the workspace was made for, not wherever it was last.
    auto target = url.value_or(active->initialURL);
    if (m_dataStores.keepSessionsEnabled() && !m_dataStores.isPrepared(*active)) {
        openTabWhenPrepared(*active, target);
        return;
    }
    m_runtime.load(*active, m_queue.now());
    m_runtime.newTab(active->id, target);
}

Task<void> SessionManager::openTabWhenPrepared(WorkspaceSession target, Url url)
{
    std::weak_ptr<bool> alive = m_alive;
    co_await m_dataStores.prepare(target);
    if (alive.expired())
        co_return;
    auto active = stillShownAndOpen(target.id);
    if (!active)
        co_return;
    m_runtime.load(*active, m_queue.now());
    m_runtime.newTab(active->id, url);
}

bool SessionManager::closeActiveTab()
{
    auto active = activeWorkspace();
    if (!active || m_runtime.tabs(active->id).size() < 2)
        return false;
    auto tab = m_runtime.activeTab(active->id);
    if (!tab)
        return false;
    m_runtime.closeTab(tab->id, active->id);
    return true;
}

void SessionManager::showMainWindow()
{
    m_window.showMainWindow();
    ensureActiveLoaded();
}

void SessionManager::toggleMainWindow()
{
    if (m_window.isMainWindowVisible() && m_window.isMainWindowKey() && m_window.isApplicationActive())
        m_window.hideMainWindow();
    else
        m_window.showMainWindow();
    ensureActiveLoaded();
}

} // namespace cohortex
