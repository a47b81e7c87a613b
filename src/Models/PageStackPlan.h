#pragma once

#include "Models/BrowserTab.h"
#include "Models/WorkspaceSession.h"
#include "Support/Uuid.h"

#include <compare>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <vector>

namespace cohortex {

// Names one page of the window: a tab, together with the workspace whose store the page is bound to.
struct PageKey {
    Uuid workspaceId;
    Uuid tabId;

    friend auto operator<=>(const PageKey&, const PageKey&) = default;
    bool operator==(const PageKey&) const = default;
};

// What the window's page area must hold for the current state of the workspaces. Pages of every
// loaded workspace stay alive, not just the shown one's, so switching back is immediate; putting a
// workspace to sleep is what frees its pages.
struct PageStackPlan {
    struct Page {
        PageKey key;
        Url url;
    };

    // Workspaces in list order, each workspace's tabs in tab order.
    std::vector<Page> pages;
    // The one page on screen and taking input: none without an active workspace, while it waits for its
    // owner, or while it has no active tab.
    std::optional<PageKey> activePage;
    // The lock view covers the page area.
    bool showsLock{ false };
    // The active workspace's tab row is shown: it has tabs and is open to its owner.
    bool showsTabs{ false };

    struct Input {
        std::span<const WorkspaceSession> workspaces;
        const std::map<Uuid, std::vector<BrowserTab>>& tabs;
        const std::map<Uuid, Uuid>& activeTabs;
        std::optional<Uuid> activeWorkspaceId;
        // Whether the active workspace is locked and not unlocked.
        bool activeNeedsUnlock{ false };
        // Tabs opened in the background and never selected: they get no page until they are.
        const std::set<Uuid>* unshownTabs{ nullptr };
    };

    // Tabs of a workspace missing from the list get no page: a page needs its workspace's store.
    static PageStackPlan make(const Input&);
};

// How to bring the pages that exist to the plan's. Pages are recreated only when their key is new,
// since recreating one reloads it.
struct PageStackChanges {
    std::vector<PageKey> toDrop;
    std::vector<PageStackPlan::Page> toCreate;

    static PageStackChanges between(const std::set<PageKey>& existing, const PageStackPlan&);
};

} // namespace cohortex
