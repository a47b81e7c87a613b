#include "Services/DataStores.h"
#include "Services/Keychain.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/MainQueue.h"

#include <algorithm>
#include <utility>

namespace cohortex {

bool SessionManager::addWorkspace(
    std::string name, Url initialURL, std::string iconSymbol, std::string colorHex)
{
    std::int64_t highest = 0;
    for (const auto& workspace : m_workspaces.get())
        highest = std::max(highest, workspace.shortcutIndex);
    // Only nine shortcuts exist, so every workspace past the ninth shares the last one.
    auto shortcutIndex = std::min(highest + 1, maximumShortcutIndex);
    auto now = m_queue.now();
    WorkspaceSession workspace(Uuid::random(), std::move(name), initialURL, initialURL, std::move(iconSymbol),
        std::move(colorHex), shortcutIndex, Uuid::random(), now, now);
    auto list = m_workspaces.get();
    list.push_back(workspace);
    if (!commitWorkspaces(std::move(list)))
        return false;
    activate(workspace);
    return true;
}

bool SessionManager::updateWorkspace(const WorkspaceSession& updated)
{
    auto list = m_workspaces.get();
    auto found = std::ranges::find(list, updated.id, &WorkspaceSession::id);
    if (found == list.end())
        return false;
    auto old = std::exchange(*found, updated);
    if (!commitWorkspaces(std::move(list)))
        return false;
    applyProxyChange(old, updated);
    applyLockChange(old, updated);
    return true;
}

void SessionManager::applyProxyChange(const WorkspaceSession& old, const WorkspaceSession& updated)
{
    bool proxyChanged = old.proxyType != updated.proxyType || old.proxyHost != updated.proxyHost
        || old.proxyPort != updated.proxyPort || old.proxyUsername != updated.proxyUsername;
    if (!proxyChanged && !m_proxyPasswordChanged)
        return;
    m_proxyPasswordChanged = false;
    m_dataStores.refreshProxy(updated);
    if (!m_runtime.isLoaded(updated.id))
        return;
    // Pages keep the network settings they were created with, so they are recreated.
    m_runtime.sleep(updated.id);
    if (auto active = activeWorkspace(); active && active->id == updated.id)
        ensureActiveLoaded();
}

void SessionManager::applyLockChange(const WorkspaceSession& old, const WorkspaceSession& updated)
{
    if (old.isLocked() == updated.isLocked())
        return;
    if (!updated.isLocked()) {
        m_runtime.markUnlocked(updated.id);
        return;
    }
    // Locking an open workspace must not snatch it from the user; it locks again when idle or on request.
    if (m_runtime.isLoaded(updated.id))
        m_runtime.markUnlocked(updated.id);
}

bool SessionManager::removeWorkspace(const Uuid& id)
{
    auto removed = workspace(id);
    if (m_workspaces.get().size() < 2 || !removed)
        return false;
    // The list goes first: should it fail, the workspace is still there, with its data and its secrets.
    auto list = m_workspaces.get();
    std::erase_if(list, [&](const auto& w) { return w.id == id; });
    if (!commitWorkspaces(std::move(list)))
        return false;
    m_runtime.forget(id);
    m_dataStores.deleteWorkspaceStore(removed->storageIdentifier);
    m_keychain.deleteItem(proxyPasswordKey(id.string()));
    m_routingRules.removeRules(id);
    if (m_linkFallbackWorkspaceId.get() == id)
        setLinkFallbackWorkspaceId(std::nullopt);
    if (m_activeWorkspaceId.get() == id) {
        const auto& remaining = m_workspaces.get();
        m_activeWorkspaceId.set(remaining.empty() ? std::nullopt : std::optional(remaining.front().id));
    }
    ensureActiveLoaded();
    return true;
}

} // namespace cohortex
