#pragma once

#include "Services/KeyPress.h"

#include <gdkmm/enums.h>

namespace cohortex {

// The key as the session manager's shortcuts see it: its lower-case text without modifiers, and the
// modifiers held. Num Lock and the mouse buttons are left out: they are states, not parts of a shortcut.
KeyPress keyPressFromGdk(unsigned keyval, Gdk::ModifierType state);

} // namespace cohortex
