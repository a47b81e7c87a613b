#pragma once

#include "Models/BrowserTab.h"
#include "Models/WorkspaceSession.h"
#include "Support/Translation.h"
#include "Support/Uuid.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

// A muted symbol after a workspace's name that says why its pages are not there.
struct WorkspaceStatusSymbol {
    std::string_view symbol;
    std::string_view help;

    bool operator==(const WorkspaceStatusSymbol&) const = default;
};

// One entry of a workspace item's context menu, in menu order.
struct WorkspaceMenuEntry {
    enum class Action { Settings, SleepNow, LockNow, Remove };

    Action action;
    std::string_view label;
    bool isEnabled{ true };
    bool isDestructive{ false };
    // A divider comes before this entry.
    bool followsDivider{ false };

    bool operator==(const WorkspaceMenuEntry&) const = default;
};

// Everything one item of the workspace tab bar shows and allows, decided without the toolkit.
struct WorkspaceTabItemState {
    WorkspaceSession workspace;
    bool isActive{ false };
    bool canClose{ false };
    std::int64_t unread{ 0 };
    bool isSleeping{ false };
    bool isLockedNow{ false };
    // Has tabs in the runtime: only then is there anything to put to sleep.
    bool isLoaded{ false };

    // The capsule with the unread count: none below 1, "99+" from 100 on.
    std::optional<std::string> unreadBadgeText() const;
    std::string unreadHelp() const;
    // Locked wins over sleeping: a locked workspace is asleep too, and the lock is what the user must act on.
    std::optional<WorkspaceStatusSymbol> status() const;
    bool showsCloseButton(bool isHovering) const { return isHovering && canClose; }
    std::vector<WorkspaceMenuEntry> menuEntries() const;

    bool operator==(const WorkspaceTabItemState&) const = default;
};

// One item of the page-tab strip.
struct PageTabItemState {
    Uuid tabId;
    std::string title;
    bool isActive{ false };
    bool canClose{ false };

    // The active tab keeps its close button in view; the others show it under the pointer.
    bool showsCloseButton(bool isHovering) const { return canClose && (isActive || isHovering); }

    bool operator==(const PageTabItemState&) const = default;
};

// The items of both bars, built from the session manager's list and the runtime's tables.
struct TabBarItems {
    struct Input {
        std::span<const WorkspaceSession> workspaces;
        std::optional<Uuid> activeWorkspaceId;
        const std::map<Uuid, std::vector<BrowserTab>>& tabs;
        const std::set<Uuid>& sleeping;
        const std::set<Uuid>& unlocked;
        std::function<std::int64_t(const Uuid&)> unreadCount;
    };

    static std::vector<WorkspaceTabItemState> workspaceItems(const Input&);
    static std::vector<PageTabItemState> pageItems(
        std::span<const BrowserTab>, std::optional<Uuid> activeTabId);
    // A page without a title yet goes by its host; a blank page has neither.
    static std::string pageTitle(const BrowserTab&);
    // The removal alert's title, for the workspace awaiting confirmation.
    static std::string removalTitle(const std::optional<WorkspaceSession>& pending);

    static constexpr std::string_view newWorkspaceHelp = N_("New Container Workspace (Ctrl+Shift+N)");
    static constexpr std::string_view newTabHelp = N_("New Tab (Ctrl+T)");
    static constexpr std::string_view removalMessage
        = N_("This permanently deletes the workspace's cookies, logins and cached data.");
    static constexpr std::string_view removeButton = N_("Remove and Delete Logins");
    static constexpr std::string_view cancelButton = N_("Cancel");
    static constexpr std::string_view lockedHelp = N_("Locked");
    static constexpr std::string_view sleepingHelp = N_("Sleeping to save memory. Click to wake it.");
};

} // namespace cohortex
