#include "Services/SessionManager.h"
#include "Services/WorkspaceRuntime.h"

namespace cohortex {

Task<void> SessionManager::openInWorkspace(Uuid workspaceId, std::vector<Url> urls)
{
    std::weak_ptr<bool> alive = m_alive;
    for (const auto& url : urls) {
        auto scheme = url.scheme();
        if (scheme != "http" && scheme != "https")
            continue;
        // Each link waits for the one before it, so a locked workspace prompts its owner only once: the
        // runtime answers a second prompt for the same workspace with a refusal while the first is up.
        auto target = workspace(workspaceId);
        if (!target)
            co_return;
        co_await routeInto(*target, url);
        if (alive.expired())
            co_return;
        if (target->isLocked() && !m_runtime.isUnlocked(workspaceId))
            co_return;
    }
}

} // namespace cohortex
