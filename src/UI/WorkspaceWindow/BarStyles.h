#pragma once

namespace cohortex {

// The few looks the window's bars need beyond the theme's own classes: the unread capsule, the
// semibold name of the active item and the small close buttons. Colours come from the theme's named
// colours, so the bars follow the desktop's light or dark style. Safe to call more than once.
void installBarStyles();

} // namespace cohortex
