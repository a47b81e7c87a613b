#pragma once

namespace cohortex {

// The tray panel's look, added to the display once.
void installMenuBarStyle();

} // namespace cohortex
