#pragma once

#include "Services/DesktopLauncher.h"

namespace cohortex {

// Opens URIs through GIO's default applications (the desktop's MIME associations, portal-aware inside
// a sandbox) and reveals files through org.freedesktop.FileManager1, which every common Linux file
// manager implements on the session bus; without one, the file's folder is opened instead.
class GioDesktopLauncher final : public DesktopLauncher {
public:
    void openURI(const std::string& uri) override;
    void openFile(const std::filesystem::path& file) override;
    std::optional<std::string> applicationForScheme(const std::string& scheme) override;
    void revealFile(const std::filesystem::path& file) override;
};

} // namespace cohortex
