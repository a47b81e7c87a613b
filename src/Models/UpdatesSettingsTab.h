#pragma once

#include "Support/Translation.h"

#include <string>
#include <string_view>

namespace cohortex {

// The Updates tab of the settings window. The system's package manager installs and updates Cohortex,
// so there is no updater of its own to ask: the check is never available.
namespace UpdatesSettingsTab {

inline constexpr std::string_view explanation = N_("Cohortex is updated by your system's package manager.");
inline constexpr std::string_view checkButtonTitle = N_("Check for Updates Now");
inline constexpr std::string_view checkButtonSymbol = "arrow.triangle.2.circlepath";
inline constexpr bool canCheckForUpdates = false;

// "Cohortex v0.1.0 (Build 12)"; an empty version reads "dev", an empty build number "0".
std::string versionString(std::string_view version, std::string_view buildNumber);

} // namespace UpdatesSettingsTab

} // namespace cohortex
