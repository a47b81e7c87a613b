#pragma once

#include "Support/Error.h"
#include "Support/Uuid.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace cohortex {

// What a site may ask the user for. Each is decided per workspace and site, so an answer given in one
// workspace never shows in another.
enum class SitePermission { camera, microphone, screen, location, notifications, clipboard };

// The screen is asked for each time it is shared: a site that may film the screen whenever it likes is
// not something to grant once and forget about. Everything else is remembered.
constexpr bool isRemembered(SitePermission permission)
{
    return permission != SitePermission::screen;
}

// The stored name of a remembered permission; nothing for one that is never stored.
std::optional<std::string_view> storedName(SitePermission);
// The name the Permissions API of pages uses ("camera", "geolocation", …), for the ones it knows.
std::optional<SitePermission> permissionNamed(std::string_view permissionsApiName);

// The question asked before a site gets what it asked for, naming the workspace and the site's host:
// "Allow Work to use your camera and microphone on meet.example.com?".
std::string permissionQuestion(
    std::string_view workspaceName, std::string_view host, std::span<const SitePermission>);
// The line under it: whether the answer is remembered, and where it can be forgotten. Marked for
// translation only: translated where it is shown.
std::string_view permissionQuestionDetail(std::span<const SitePermission>);

// The user's remembered answers: per workspace, per site (its origin as the engine writes it, such as
// "https://meet.example.com"), whether each permission was allowed.
using SiteDecisions = std::map<SitePermission, bool>;
using WorkspaceDecisions = std::map<std::string, SiteDecisions, std::less<>>;
using PermissionDecisions = std::map<Uuid, WorkspaceDecisions>;

// The stored record: {"version":1,"workspaces":{"<UUID>":{"<origin>":{"camera":true,…}}}}. Reading is
// all or nothing: a record that is not exactly this (another version included) is an error, so a record
// written by a newer Cohortex is kept aside rather than half-read and overwritten.
std::string encodePermissionDecisions(const PermissionDecisions&);
Expected<PermissionDecisions> decodePermissionDecisions(std::span<const std::uint8_t>);

} // namespace cohortex
