#pragma once

#include "KeyboardShortcuts/Shortcut.h"

#include <functional>
#include <set>

typedef struct _GtkWidget GtkWidget;

namespace cohortex {

class Alerts;
class CommandTable;
class HotKeyService;
class ShortcutStore;

struct ShortcutsPageDependencies {
    ShortcutStore& shortcuts;
    HotKeyService& hotKeys;
    const CommandTable& commands;
    // The combinations the desktop keeps for itself, asked when the tab is made.
    std::function<std::set<Shortcut>()> reservedBySystem;
    Alerts& alerts;
};

// The Shortcuts tab: a recorder per global shortcut the user can change. Where the desktop lets no
// application listen for keys pressed elsewhere, it says so and gives, per shortcut, the command line
// to bind in the desktop's own keyboard settings instead.
GtkWidget* makeShortcutsPage(const ShortcutsPageDependencies&);

} // namespace cohortex
