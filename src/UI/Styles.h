#pragma once

namespace cohortex {

// The application's style sheet and icons, compiled into the binary as a resource: installed for the
// default display on first use, so that every view looks the same whichever shows first, and the
// window's icon is found even before Cohortex is installed. Safe to call more than once.
void installStyles();

} // namespace cohortex
