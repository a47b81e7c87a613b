#pragma once

namespace cohortex {

// Loads the quick switcher's look into the default display once. Colours come from the theme's named
// colours, so the panel follows the desktop's light or dark style; only the badge is always red.
void installQuickSwitcherStyle();

} // namespace cohortex
