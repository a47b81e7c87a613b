#pragma once

#include <cstdint>
#include <string_view>

namespace cohortex::keys {

// Every key of the defaults database. Two preferences use bare names; stored records use the
// application's prefix. Each key is read and written only by its owner.
inline constexpr std::string_view sleepAfterMinutes = "sleepAfterMinutes";
inline constexpr std::string_view keepSessionsAfterQuit = "keepSessionsAfterQuit";
inline constexpr std::string_view timeTrackingEnabled = "com.kestrelwick.cohortex.timetracking.enabled";
inline constexpr std::string_view keyboardShortcutPrefix = "KeyboardShortcuts_";

inline constexpr std::string_view workspaces = "com.kestrelwick.cohortex.workspaces";
inline constexpr std::string_view routingRules = "com.kestrelwick.cohortex.routingrules";
inline constexpr std::string_view linkFallback = "com.kestrelwick.cohortex.linkfallback";
inline constexpr std::string_view openTabs = "com.kestrelwick.cohortex.opentabs";
inline constexpr std::string_view timeLedger = "com.kestrelwick.cohortex.timeledger";
inline constexpr std::string_view stats = "com.kestrelwick.cohortex.stats";
inline constexpr std::string_view zoomLevels = "com.kestrelwick.cohortex.zoomlevels";
inline constexpr std::string_view sitePermissions = "com.kestrelwick.cohortex.sitepermissions";

// An unreadable workspace list is copied under this prefix plus the time (whole seconds since 2001)
// before the presets replace it, so nothing the user had is lost and no earlier copy is overwritten.
inline constexpr std::string_view workspacesBackupPrefix = "com.kestrelwick.cohortex.workspaces.unreadable.";
// The same for unreadable site permissions, copied before the first new answer replaces them.
inline constexpr std::string_view sitePermissionsBackupPrefix
    = "com.kestrelwick.cohortex.sitepermissions.unreadable.";

inline constexpr std::int64_t defaultSleepAfterMinutes = 30;
inline constexpr bool defaultKeepSessionsAfterQuit = true;

} // namespace cohortex::keys
