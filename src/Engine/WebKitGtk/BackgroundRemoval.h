#pragma once

#include "Support/Task.h"

#include <filesystem>
#include <vector>

namespace cohortex {

// Deletes each directory with everything in it on a GIO worker thread, so that a large cache never
// stalls the main thread. True when none of them exists any more, including when none existed.
Task<bool> removeDirectoriesInBackground(std::vector<std::filesystem::path>);

} // namespace cohortex
