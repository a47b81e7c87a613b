#include "Services/Authenticating.h"
#include "Services/DataStores.h"
#include "Services/SessionManager.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/MainQueue.h"

#include <algorithm>

namespace cohortex {

std::optional<WorkspaceSession> SessionManager::activeWorkspace() const
{
    const auto& list = m_workspaces.get();
    if (list.empty())
        return std::nullopt;
    if (auto id = m_activeWorkspaceId.get()) {
        if (auto found = workspace(*id))
            return found;
    }
    return list.front();
}

void SessionManager::activate(const WorkspaceSession& target)
{
    auto now = m_queue.now();
    // Setting the id is what counts a switch (Housekeeping watches it), so it comes first.
    m_activeWorkspaceId.set(target.id);
    auto list = m_workspaces.get();
    if (auto found = std::ranges::find(list, target.id, &WorkspaceSession::id); found != list.end()) {
        // A stamp that cannot be stored is not worth a word to the user; the switch goes ahead.
        found->lastActiveAt = now;
        commitWorkspaces(std::move(list));
    }
    m_runtime.touch(target.id, now);
    ensureActiveLoaded();
}

void SessionManager::openWorkspace(const WorkspaceSession& target)
{
    activate(target);
    // The window shows the locked screen meanwhile; the prompt comes up by itself.
    if (needsUnlock(target))
        unlock(target);
}

void SessionManager::openWorkspace(std::int64_t shortcutIndex)
{
    const auto& list = m_workspaces.get();
    auto found = std::ranges::find(list, shortcutIndex, &WorkspaceSession::shortcutIndex);
    if (found != list.end())
        openWorkspace(WorkspaceSession(*found));
}

void SessionManager::ensureActiveLoaded()
{
    auto active = activeWorkspace();
    // A locked workspace is never loaded before its owner has authenticated.
    if (!active || needsUnlock(*active))
        return;
    if (m_dataStores.keepSessionsEnabled() && !m_dataStores.isPrepared(*active)) {
        loadWhenPrepared(*active);
        return;
    }
    m_runtime.load(*active, m_queue.now());
}

Task<void> SessionManager::loadWhenPrepared(WorkspaceSession target)
{
    std::weak_ptr<bool> alive = m_alive;
    co_await m_dataStores.prepare(target);
    if (alive.expired())
        co_return;
    if (auto active = stillShownAndOpen(target.id))
        m_runtime.load(*active, m_queue.now());
}

std::optional<WorkspaceSession> SessionManager::stillShownAndOpen(const Uuid& workspaceId) const
{
    // Other switches may have run during the wait; only the workspace still shown may load.
    auto active = activeWorkspace();
    if (!active || active->id != workspaceId || needsUnlock(*active))
        return std::nullopt;
    return active;
}

bool SessionManager::needsUnlock(const WorkspaceSession& workspace) const
{
    return workspace.isLocked() && !m_runtime.isUnlocked(workspace.id);
}

Task<Authentication> SessionManager::unlock(WorkspaceSession target)
{
    std::weak_ptr<bool> alive = m_alive;
    auto answer = co_await m_runtime.unlock(target.id, target.name, m_authenticator, m_queue.now());
    if (answer == Authentication::Succeeded && !alive.expired())
        ensureActiveLoaded();
    co_return answer;
}

} // namespace cohortex
