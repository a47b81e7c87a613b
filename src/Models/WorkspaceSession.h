#pragma once

#include "Support/Date.h"
#include "Support/Error.h"
#include "Support/Json.h"
#include "Support/Url.h"
#include "Support/Uuid.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cohortex {

// An opaque sRGB colour; the UI layer turns it into whatever its toolkit draws with.
struct RgbColor {
    double red{ 0 };
    double green{ 0 };
    double blue{ 0 };

    bool operator==(const RgbColor&) const = default;
};

// The stored description of one workspace. Live state (tabs, sleeping, unlocked) lives in the runtime.
struct WorkspaceSession {
    Uuid id;
    std::string name;
    Url initialURL;
    std::optional<Url> currentURL;
    std::string iconSymbol;
    std::string colorHex;
    std::int64_t shortcutIndex{ 0 };
    Uuid storageIdentifier;
    Date createdAt;
    Date lastActiveAt;
    std::optional<bool> keepAwake;
    std::optional<bool> requiresUnlock;
    std::optional<std::string> downloadFolderPath;
    std::optional<std::string> proxyType;
    std::optional<std::string> proxyHost;
    std::optional<std::int64_t> proxyPort;
    std::optional<std::string> proxyUsername;

    // Every stored field in declaration order; an absent currentURL starts out as the initial URL.
    WorkspaceSession(Uuid id, std::string name, Url initialURL, std::optional<Url> currentURL,
        std::string iconSymbol, std::string colorHex, std::int64_t shortcutIndex, Uuid storageIdentifier,
        Date createdAt, Date lastActiveAt, std::optional<bool> keepAwake = {},
        std::optional<bool> requiresUnlock = {}, std::optional<std::string> downloadFolderPath = {},
        std::optional<std::string> proxyType = {}, std::optional<std::string> proxyHost = {},
        std::optional<std::int64_t> proxyPort = {}, std::optional<std::string> proxyUsername = {});

    bool isKeepAwake() const { return keepAwake.value_or(false); }
    bool isLocked() const { return requiresUnlock.value_or(false); }
    bool hasProxy() const;
    // Listed as having a proxy, but with a port no proxy can have (above 65535). Such a workspace must
    // go nowhere rather than around the proxy the user set.
    bool hasUnusableProxy() const;
    std::optional<Url> downloadFolderURL() const;
    RgbColor displayColor() const;

    Json toJson() const;
    static Expected<WorkspaceSession> fromJson(const Json&);

    // The three workspaces a first launch starts with.
    static std::vector<WorkspaceSession> defaultWorkspaces(Date now);

    bool operator==(const WorkspaceSession&) const = default;
};

// The colour shown when a stored colour cannot be read: the system's standard blue.
inline constexpr RgbColor standardBlue{ 0.0, 122.0 / 255.0, 1.0 };

// Parses "#RRGGBB"-style text leniently; std::nullopt when no hexadecimal digit is found.
std::optional<RgbColor> parseHexColor(std::string_view text);

// The stored list: a UTF-8 JSON array of records in list order. One bad record fails the whole list.
std::string encodeWorkspaceList(std::span<const WorkspaceSession>);
Expected<std::vector<WorkspaceSession>> decodeWorkspaceList(std::span<const std::uint8_t> bytes);

} // namespace cohortex

template <>
struct std::hash<cohortex::WorkspaceSession> {
    std::size_t operator()(const cohortex::WorkspaceSession&) const noexcept;
};
