#pragma once

#include <filesystem>

namespace cohortex {

// The user's home directory: $HOME, else the home of the user's entry in the password database. Empty
// when neither names one.
std::filesystem::path homeDirectory();

// The user's base directories. Each is its XDG variable when that holds an absolute path; an unset, empty
// or relative one is ignored, as the XDG rules say, for its default under the home directory. Empty when
// there is no home directory to fall back on.
std::filesystem::path xdgDataHome(); // ~/.local/share
std::filesystem::path xdgCacheHome(); // ~/.cache
std::filesystem::path xdgConfigHome(); // ~/.config

} // namespace cohortex
