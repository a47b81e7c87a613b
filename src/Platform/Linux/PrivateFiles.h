#pragma once

#include "Support/Error.h"

#include <filesystem>

namespace cohortex {

// Our stored data is readable by its owner only. Directories are created with mode 0700, every missing
// parent included; directories that already exist are left as their owner set them.
Expected<void> createPrivateDirectories(const std::filesystem::path& directory);

// Creates the file empty if it is missing, and gives it mode 0600 either way. SQLite gives its -wal and
// -shm files the mode of the database, so creating the database this way protects those too.
Expected<void> createPrivateFile(const std::filesystem::path& file);

} // namespace cohortex
