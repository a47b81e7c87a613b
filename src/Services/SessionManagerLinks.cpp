#include "Services/Authenticating.h"
#include "Services/DataStores.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Services/WindowHost.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/MainQueue.h"
#include "Support/Text.h"

namespace cohortex {

std::optional<WorkspaceSession> SessionManager::targetWorkspace(const Url& url) const
{
    auto decision = routingDecision(url);
    if (!decision)
        return std::nullopt;
    return std::move(decision->workspace);
}

std::optional<RoutingDecision> SessionManager::routingDecision(const Url& url) const
{
    // A rule or fallback naming a removed workspace is passed over, not reported.
    if (auto match = m_routingRules.match(url)) {
        if (auto found = workspace(match->workspaceId))
            return RoutingDecision{ std::move(*found), RoutingReason::Rule, std::move(match->pattern) };
    }
    if (auto fallback = m_linkFallbackWorkspaceId.get()) {
        if (auto found = workspace(*fallback))
            return RoutingDecision{ std::move(*found), RoutingReason::Fallback, {} };
    }
    if (auto active = activeWorkspace())
        return RoutingDecision{ std::move(*active), RoutingReason::Current, {} };
    return std::nullopt;
}

void SessionManager::route(const Url& url)
{
    auto scheme = url.scheme();
    if (scheme != "http" && scheme != "https")
        return;
    if (auto target = targetWorkspace(url))
        routeInto(*target, url);
}

Task<void> SessionManager::routeInto(WorkspaceSession target, Url url)
{
    std::weak_ptr<bool> alive = m_alive;
    if (target.isLocked() && !m_runtime.isUnlocked(target.id)) {
        showMainWindow();
        bool unlocked = co_await m_runtime.unlock(target.id, target.name, m_authenticator, m_queue.now());
        // Refused or cancelled: the link is dropped without a word, as the owner chose.
        if (!unlocked || alive.expired())
            co_return;
        ensureActiveLoaded();
    }
    co_await m_dataStores.prepare(target);
    // A workspace removed during the waits must not come back as a ghost in the runtime.
    if (alive.expired() || !workspace(target.id))
        co_return;
    activate(target);
    m_runtime.load(target, m_queue.now());
    m_runtime.newTab(target.id, url);
    m_window.showMainWindow();
    ensureActiveLoaded();
}

void SessionManager::openURLs(std::vector<Url> urls)
{
    openInOrder(std::move(urls));
}

Task<void> SessionManager::openInOrder(std::vector<Url> urls)
{
    std::weak_ptr<bool> alive = m_alive;
    for (const auto& url : urls) {
        if (alive.expired())
            co_return;
        if (!url.isFileURL()) {
            route(url);
            continue;
        }
        // Only workspace files are taken; any other file handed over is ignored.
        if (toLowerCase(url.pathExtension()) == "cohortex")
            co_await confirmAndImport(url.filePath());
    }
}

} // namespace cohortex
