#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace cohortex {

// The desktop's own handlers for what the browser does not show itself: mail and telephone links go
// to the user's mail or telephony application, other applications' links to those applications, and a
// downloaded file opens in the application the desktop chooses for it or is shown in the user's file
// manager. Each returns at once; the desktop answers in its own time and a failure is only logged.
class DesktopLauncher {
public:
    virtual ~DesktopLauncher() = default;

    // Opens the URI with the default application for its scheme.
    virtual void openURI(const std::string& uri) = 0;
    // Opens the file with the default application for its type.
    virtual void openFile(const std::filesystem::path& file) = 0;
    // The name of the application the desktop opens links of the scheme with, if it has one.
    virtual std::optional<std::string> applicationForScheme(const std::string& scheme) = 0;
    // Shows the file selected in the file manager, or at least opens the folder it is in.
    virtual void revealFile(const std::filesystem::path& file) = 0;
};

} // namespace cohortex
