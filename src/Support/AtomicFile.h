#pragma once

#include "Support/Error.h"

#include <filesystem>
#include <string_view>

namespace cohortex {

// Replaces the file's contents all at once: the text goes to a new file in the same folder, is flushed
// to disk and then renamed over the old one, so a reader (or a crash) sees either the old file or the
// complete new one, never a part. A file that already exists keeps its permissions. On failure the old
// file is untouched, no temporary file is left behind, and the error says why in the system's words.
Expected<void> writeFileAtomically(const std::filesystem::path&, std::string_view contents);

} // namespace cohortex
