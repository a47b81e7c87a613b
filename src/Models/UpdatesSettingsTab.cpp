#include "Models/UpdatesSettingsTab.h"

namespace cohortex {

std::string UpdatesSettingsTab::versionString(std::string_view version, std::string_view buildNumber)
{
    return "Cohortex v" + std::string(version.empty() ? "dev" : version) + " (Build "
        + std::string(buildNumber.empty() ? "0" : buildNumber) + ")";
}

} // namespace cohortex
