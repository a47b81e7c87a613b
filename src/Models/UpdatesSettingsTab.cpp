#include "Models/UpdatesSettingsTab.h"

#include "Support/Translation.h"

namespace cohortex {

std::string UpdatesSettingsTab::versionString(std::string_view version, std::string_view buildNumber)
{
    // TRANSLATORS: {0} is the version ("0.1.0"), {1} the build number.
    return fillIn(_("Cohortex v{0} (Build {1})"), version.empty() ? "dev" : version,
        buildNumber.empty() ? "0" : buildNumber);
}

} // namespace cohortex
