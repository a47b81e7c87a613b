#pragma once

#include <string_view>

namespace cohortex {

// With COHORTEX_DEBUG=launch in the environment, writes "launch: <ms> <step>" on the error stream the
// first time each step is reached, timed from the start of the process as the kernel recorded it, so
// that what happens before main() counts too. Does nothing otherwise. Main thread only.
void traceLaunch(std::string_view step);

} // namespace cohortex
