#pragma once

#include "Services/LoginItem.h"

#include <filesystem>
#include <string_view>

namespace cohortex {

// Starting at login the freedesktop.org way: a desktop entry in the user's autostart folder,
// $XDG_CONFIG_HOME/autostart, which every desktop that follows the XDG autostart rules starts at login.
// The folder is looked up afresh on every call, so a changed environment is followed.
//
// The file is small and local, like the defaults database, so it is read and written on the main thread.
class XdgAutostartLoginItem final : public LoginItem {
public:
    static constexpr std::string_view fileName = "com.kestrelwick.Cohortex.desktop";

    // The entry exists and neither hides itself nor is switched off for GNOME. An entry that cannot be
    // read as a desktop entry counts as off: no desktop would start it.
    bool isEnabled() const override;
    // Switching on writes the whole entry at once; switching off removes it.
    bool setEnabled(bool) override;

    // Where the entry is, for the current environment; empty without a home directory.
    static std::filesystem::path entryPath();
};

} // namespace cohortex
