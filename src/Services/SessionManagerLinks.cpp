#include "Services/Authenticating.h"
#include "Services/DataStores.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Services/WindowHost.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/MainQueue.h"
#include "Support/Text.h"

#include <algorithm>
#include <utility>

namespace cohortex {

namespace {

bool isWebLink(const Url& url)
{
    auto scheme = url.scheme();
    return scheme == "http" || scheme == "https";
}

} // namespace

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
    openLinks({ url });
}

Task<void> SessionManager::openLinks(std::vector<Url> links)
{
    std::weak_ptr<bool> alive = m_alive;
    std::erase_if(links, [](const Url& url) { return !isWebLink(url); });
    // Links go to their workspaces in the order given; the last link of all is the one shown, the others
    // open in the background, so that a thousand links do not mean a thousand pages loading at once.
    std::vector<std::pair<WorkspaceSession, std::vector<Url>>> groups;
    std::optional<Uuid> shownWorkspace;
    for (auto& url : links) {
        auto target = targetWorkspace(url);
        if (!target)
            continue;
        shownWorkspace = target->id;
        auto group
            = std::ranges::find_if(groups, [&](const auto& group) { return group.first.id == target->id; });
        if (group == groups.end())
            groups.emplace_back(std::move(*target), std::vector<Url>{ std::move(url) });
        else
            group->second.push_back(std::move(url));
    }
    // The shown workspace's group goes last, the others keep their order.
    if (auto shown
        = std::ranges::find_if(groups, [&](const auto& group) { return group.first.id == shownWorkspace; });
        shown != groups.end())
        std::rotate(shown, shown + 1, groups.end());
    for (auto& [target, urls] : groups) {
        co_await openInto(target, std::move(urls), target.id == shownWorkspace);
        if (alive.expired())
            co_return;
    }
}

Task<void> SessionManager::openInto(WorkspaceSession target, std::vector<Url> urls, bool showsLast)
{
    std::weak_ptr<bool> alive = m_alive;
    if (urls.empty())
        co_return;
    if (target.isLocked() && !m_runtime.isUnlocked(target.id)) {
        showMainWindow();
        auto answer = co_await m_runtime.unlock(target.id, target.name, m_authenticator, m_queue.now());
        // Refused or cancelled: the links are dropped without a word, as the owner chose.
        if (answer != Authentication::Succeeded || alive.expired())
            co_return;
        ensureActiveLoaded();
    }
    // Not waited for: the store holds the pages back until the saved logins are in, and the workspace's
    // page is made meanwhile.
    m_dataStores.prepare(target);
    // A workspace removed while its owner was asked must not come back as a ghost in the runtime.
    if (alive.expired() || !workspace(target.id))
        co_return;
    // A workspace woken by the links shows the last of them first; its own pages and the other links wait
    // until selected.
    if (showsLast && m_runtime.loadOnto(target, urls, m_queue.now())) {
        activate(target);
        m_window.showMainWindow();
        co_return;
    }
    std::optional<Url> shown;
    if (showsLast) {
        shown = std::move(urls.back());
        urls.pop_back();
        activate(target);
    }
    m_runtime.load(target, m_queue.now());
    m_runtime.addBackgroundTabs(target.id, urls);
    if (!shown)
        co_return;
    m_runtime.newTab(target.id, *shown);
    m_window.showMainWindow();
    ensureActiveLoaded();
}

void SessionManager::openURLs(std::vector<Url> urls)
{
    openInOrder(std::move(urls));
}

void SessionManager::setFileHandler(std::function<Task<void>(std::filesystem::path)> handler)
{
    m_fileHandler = std::move(handler);
}

Task<void> SessionManager::openInOrder(std::vector<Url> urls)
{
    std::weak_ptr<bool> alive = m_alive;
    std::vector<Url> links;
    for (auto& url : urls) {
        if (!url.isFileURL()) {
            links.push_back(std::move(url));
            continue;
        }
        // Only workspace files are taken; any other file handed over is ignored.
        if (toLowerCase(url.pathExtension()) != "cohortex")
            continue;
        // Links handed over before the file open before its import asks.
        co_await openLinks(std::exchange(links, {}));
        if (alive.expired())
            co_return;
        if (m_fileHandler)
            co_await m_fileHandler(url.filePath());
        if (alive.expired())
            co_return;
    }
    co_await openLinks(std::move(links));
}

} // namespace cohortex
