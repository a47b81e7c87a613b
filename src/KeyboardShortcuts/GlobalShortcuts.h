#pragma once

#include "KeyboardShortcuts/Shortcut.h"
#include "Support/Translation.h"

#include <array>
#include <optional>
#include <string_view>

namespace cohortex {

class CommandTable;
class ShortcutStore;

// The twelve global shortcuts: their names (under which the user's combination is stored), their
// defaults, and the command each runs anywhere on the desktop.
struct GlobalShortcut {
    std::string_view name;
    Shortcut defaultShortcut;
    std::string_view command;
    std::optional<int> argument;
    // What the shortcut is called where the user sets it.
    std::string_view label;
    // The command line that does the same, for a desktop that binds keys to commands itself.
    std::string_view commandLine;
};

inline constexpr Shortcut controlOption(std::int64_t keyCode)
{
    return { keyCode, Shortcut::control | Shortcut::option };
}

inline constexpr std::array<GlobalShortcut, 12> globalShortcuts{ {
    { "toggleApp", controlOption(1), "toggle-window", {}, N_("Toggle Cohortex:"), "cohortex --toggle" },
    { "quickSwitcher", { 40, Shortcut::option | Shortcut::command }, "quick-switcher", {},
        N_("Quick Switcher:"), "cohortex --quick-switcher" },
    { "newWorkspace", controlOption(45), "new-workspace", {}, N_("New Container Workspace:"),
        "cohortex --new-workspace" },
    { "workspace1", controlOption(18), "open-workspace", 1, N_("Switch to Workspace 1:"),
        "cohortex --open-workspace 1" },
    { "workspace2", controlOption(19), "open-workspace", 2, N_("Switch to Workspace 2:"),
        "cohortex --open-workspace 2" },
    { "workspace3", controlOption(20), "open-workspace", 3, N_("Switch to Workspace 3:"),
        "cohortex --open-workspace 3" },
    { "workspace4", controlOption(21), "open-workspace", 4, N_("Switch to Workspace 4:"),
        "cohortex --open-workspace 4" },
    { "workspace5", controlOption(23), "open-workspace", 5, N_("Switch to Workspace 5:"),
        "cohortex --open-workspace 5" },
    { "workspace6", controlOption(22), "open-workspace", 6, N_("Switch to Workspace 6:"),
        "cohortex --open-workspace 6" },
    { "workspace7", controlOption(26), "open-workspace", 7, N_("Switch to Workspace 7:"),
        "cohortex --open-workspace 7" },
    { "workspace8", controlOption(28), "open-workspace", 8, N_("Switch to Workspace 8:"),
        "cohortex --open-workspace 8" },
    { "workspace9", controlOption(25), "open-workspace", 9, N_("Switch to Workspace 9:"),
        "cohortex --open-workspace 9" },
} };

// The names the settings let the user record, in the order shown.
inline constexpr std::array<std::string_view, 6> recordableShortcuts{ "toggleApp", "quickSwitcher",
    "newWorkspace", "workspace1", "workspace2", "workspace3" };

// Declares the twelve names with their defaults and binds each to its command, in the order above.
// Called once per process: a second call would add second handlers.
void registerGlobalShortcuts(ShortcutStore&, const CommandTable&);

} // namespace cohortex
