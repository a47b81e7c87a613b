#include "Models/PageStackPlan.h"

#include <algorithm>

namespace cohortex {

namespace {

std::optional<PageKey> activePageOf(const PageStackPlan::Input& input)
{
    if (!input.activeWorkspaceId || input.activeNeedsUnlock)
        return std::nullopt;
    const Uuid& workspaceId = *input.activeWorkspaceId;
    auto activeTab = input.activeTabs.find(workspaceId);
    auto tabs = input.tabs.find(workspaceId);
    if (activeTab == input.activeTabs.end() || tabs == input.tabs.end())
        return std::nullopt;
    // An active id that names none of the workspace's tabs means no tab is active yet.
    bool isOneOfItsTabs = std::ranges::any_of(
        tabs->second, [&](const BrowserTab& tab) { return tab.id == activeTab->second; });
    if (!isOneOfItsTabs)
        return std::nullopt;
    return PageKey{ workspaceId, activeTab->second };
}

bool isListed(const PageStackPlan::Input& input, const Uuid& workspaceId)
{
    return std::ranges::any_of(
        input.workspaces, [&](const WorkspaceSession& workspace) { return workspace.id == workspaceId; });
}

} // namespace

PageStackPlan PageStackPlan::make(const Input& input)
{
    PageStackPlan plan;
    for (const auto& workspace : input.workspaces) {
        auto tabs = input.tabs.find(workspace.id);
        if (tabs == input.tabs.end())
            continue;
        for (const auto& tab : tabs->second) {
            if (!input.unshownTabs || !input.unshownTabs->contains(tab.id))
                plan.pages.push_back({ { workspace.id, tab.id }, tab.url });
        }
    }
    bool hasActive = input.activeWorkspaceId && isListed(input, *input.activeWorkspaceId);
    if (hasActive)
        plan.activePage = activePageOf(input);
    plan.showsLock = hasActive && input.activeNeedsUnlock;
    plan.showsTabs = hasActive && !input.activeNeedsUnlock && input.tabs.contains(*input.activeWorkspaceId)
        && !input.tabs.at(*input.activeWorkspaceId).empty();
    return plan;
}

PageStackChanges PageStackChanges::between(const std::set<PageKey>& existing, const PageStackPlan& plan)
{
    std::set<PageKey> wanted;
    PageStackChanges changes;
    for (const auto& page : plan.pages) {
        wanted.insert(page.key);
        if (!existing.contains(page.key))
            changes.toCreate.push_back(page);
    }
    for (const auto& key : existing) {
        if (!wanted.contains(key))
            changes.toDrop.push_back(key);
    }
    return changes;
}

} // namespace cohortex
