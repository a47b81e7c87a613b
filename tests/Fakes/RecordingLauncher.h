#pragma once

#include "Services/DesktopLauncher.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cohortex::testing {

// Records what would have gone to the desktop, so no mail client, viewer or file manager starts in a test.
class RecordingLauncher final : public DesktopLauncher {
public:
    void openURI(const std::string& uri) override { openedURIs.push_back(uri); }
    void openFile(const std::filesystem::path& file) override { openedFiles.push_back(file); }
    std::optional<std::string> applicationForScheme(const std::string& scheme) override
    {
        auto found = applications.find(scheme);
        return found == applications.end() ? std::nullopt : std::optional(found->second);
    }
    void revealFile(const std::filesystem::path& file) override { revealedFiles.push_back(file); }

    // The application the desktop has for a scheme, as a test sets it.
    std::map<std::string, std::string> applications;
    std::vector<std::string> openedURIs;
    std::vector<std::filesystem::path> openedFiles;
    std::vector<std::filesystem::path> revealedFiles;
};

} // namespace cohortex::testing
