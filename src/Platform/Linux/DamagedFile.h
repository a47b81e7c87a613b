#pragma once

#include "Support/Error.h"

#include <filesystem>

namespace cohortex {

// Renames a damaged SQLite file to <name>.damaged-<UTC time as YYYYMMDDTHHMMSSZ>, taking its -wal and
// -shm files along under the same new name so the set can still be opened and examined. An existing
// name is never overwritten. Returns the new path of the file itself.
Expected<std::filesystem::path> moveDamagedFileAside(const std::filesystem::path& file);

} // namespace cohortex
