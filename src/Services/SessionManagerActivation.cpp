#include "Services/LiveWorkspaces.h"
#include "Services/SessionManager.h"
#include "Support/MainQueue.h"

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
    m_activeWorkspaceId.set(target.id);
    const auto& list = m_workspaces.get();
    if (auto found = std::ranges::find(list, target.id, &WorkspaceSession::id); found != list.end()) {
        auto index = static_cast<std::size_t>(found - list.begin());
        m_workspaces.modify([&](auto& workspaces) { workspaces[index].lastActiveAt = now; });
        saveWorkspaces();
    }
    m_runtime.touch(target.id, now);
    ensureActiveLoaded();
}

void SessionManager::ensureActiveLoaded()
{
    auto workspace = activeWorkspace();
    // A locked workspace is never loaded before its owner has authenticated.
    if (!workspace || needsUnlock(*workspace))
        return;
    m_runtime.load(*workspace, m_queue.now());
}

bool SessionManager::needsUnlock(const WorkspaceSession& workspace) const
{
    return workspace.isLocked() && !m_runtime.isUnlocked(workspace.id);
}

} // namespace cohortex
