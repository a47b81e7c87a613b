#pragma once

#include "Models/MemorySavingsStats.h"
#include "Models/WorkspaceSession.h"
#include "Support/Translation.h"
#include "Support/Uuid.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

// One workspace in the tray's panel and menu.
struct MenuBarRow {
    Uuid workspaceId;
    std::string name;
    RgbColor color;
    std::string iconSymbol;
    bool isActive{ false };
    // The unread count, capped at 99 without a plus: the row has room for two digits only.
    std::optional<std::string> unreadCapsule;
    bool needsUnlock{ false };
    bool isSleeping{ false };
    // The keys that open the workspace from anywhere; none for a workspace past the ninth.
    std::optional<std::string> shortcutHint;

    // The row's name with its state, for the menu that shows text only and for screen readers.
    std::string description() const;

    bool operator==(const MenuBarRow&) const = default;
};

// One command of the tray's panel and menu, in menu order.
struct MenuBarCommand {
    std::string_view label;
    std::string_view symbol;
    // The command table's command it runs. None for an entry shown for what it tells, never clickable.
    std::optional<std::string_view> commandName;
    // Why an entry without a command cannot be chosen.
    std::string_view unavailableHelp;
    // A divider comes before this entry.
    bool followsDivider{ false };

    bool operator==(const MenuBarCommand&) const = default;
};

// Everything the tray's panel and menu show, decided without the toolkit, recomputed whole on every change
// of what it is made of.
struct MenuBarMenu {
    struct Input {
        std::span<const WorkspaceSession> workspaces;
        std::optional<Uuid> activeWorkspaceId;
        std::function<std::int64_t(const Uuid&)> unreadCount;
        const std::set<Uuid>& sleeping;
        const std::set<Uuid>& unlocked;
        double appMB{ 0 };
        double pagesMB{ 0 };
        const MemorySavingsStats& stats;
        // Workspaces 1 to this one have keys of their own.
        std::int64_t lastShortcutIndex{ 0 };
    };

    std::vector<MenuBarRow> rows;
    std::string memoryLine;

    static MenuBarMenu build(const Input&);
    static std::span<const MenuBarCommand> commands();

    static constexpr std::string_view header = N_("WORKSPACES");
    static constexpr std::string_view memorySymbol = "memorychip";

    bool operator==(const MenuBarMenu&) const = default;
};

} // namespace cohortex
