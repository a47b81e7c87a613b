#pragma once

#include "KeyboardShortcuts/Shortcut.h"

#include <set>

namespace cohortex {

// The combinations GNOME keeps for itself — the window manager's keys and the media keys — read from
// their settings where those schemas are installed, so that the recorder does not take one the desktop
// would swallow. Nothing where they are not (another desktop).
std::set<Shortcut> desktopReservedShortcuts();

} // namespace cohortex
