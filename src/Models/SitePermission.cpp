#include "Models/SitePermission.h"

#include "Support/Json.h"
#include "Support/Translation.h"

#include <algorithm>
#include <array>
#include <utility>

namespace cohortex {

namespace {

constexpr int recordVersion = 1;

struct PermissionNames {
    SitePermission permission;
    std::string_view stored;
    std::string_view permissionsApi;
    std::string_view action;
};

constexpr std::array<PermissionNames, 6> names{ {
    // TRANSLATORS: what a site asks to do, put into "Allow {0} to {1} on {2}?" ({1} is this phrase).
    { SitePermission::camera, "camera", "camera", N_("use your camera") },
    { SitePermission::microphone, "microphone", "microphone", N_("use your microphone") },
    { SitePermission::screen, "", "", N_("share your screen") },
    { SitePermission::location, "location", "geolocation", N_("know your location") },
    { SitePermission::notifications, "notifications", "notifications", N_("show you notifications") },
    { SitePermission::clipboard, "clipboard", "", N_("read your clipboard") },
} };

const PermissionNames& namesOf(SitePermission permission)
{
    return *std::ranges::find(names, permission, &PermissionNames::permission);
}

std::optional<SitePermission> storedPermission(std::string_view name)
{
    auto found = std::ranges::find(names, name, &PermissionNames::stored);
    if (name.empty() || found == names.end())
        return std::nullopt;
    return found->permission;
}

bool contains(std::span<const SitePermission> permissions, SitePermission permission)
{
    return std::ranges::find(permissions, permission) != permissions.end();
}

std::string actionOf(std::span<const SitePermission> permissions)
{
    // A call asks for both devices at once, and says so in one phrase.
    if (contains(permissions, SitePermission::camera) && contains(permissions, SitePermission::microphone)
        && permissions.size() == 2)
        // TRANSLATORS: what a site asks to do, put into "Allow {0} to {1} on {2}?" ({1} is this phrase).
        return _("use your camera and microphone");
    std::string action;
    for (auto permission : permissions) {
        auto phrase = _(namesOf(permission).action);
        // TRANSLATORS: joins two things a site asks to do ("use your camera and know your location").
        action = action.empty() ? phrase : fillIn(_("{} and {}"), action, phrase);
    }
    return action;
}

// Keys are read, never quoted in an error: a damaged record may hold anything.
Expected<SiteDecisions> decodeSite(const Json& site)
{
    if (!site.is_object() || site.empty())
        return makeError("the decisions of a site are not an object with members");
    SiteDecisions decisions;
    for (const auto& [key, value] : site.items()) {
        auto permission = storedPermission(key);
        if (!permission)
            return makeError("a site's decisions name an unknown permission");
        if (!value.is_boolean())
            return makeError("a site's decision is not true or false");
        decisions[*permission] = value.get<bool>();
    }
    return decisions;
}

Expected<WorkspaceDecisions> decodeWorkspace(const Json& sites)
{
    if (!sites.is_object())
        return makeError("the sites of a workspace are not an object");
    WorkspaceDecisions workspace;
    for (const auto& [origin, site] : sites.items()) {
        auto decisions = decodeSite(site);
        if (!decisions)
            return std::unexpected(decisions.error());
        workspace.emplace(origin, std::move(*decisions));
    }
    return workspace;
}

} // namespace

std::optional<std::string_view> storedName(SitePermission permission)
{
    auto name = namesOf(permission).stored;
    return name.empty() ? std::nullopt : std::optional(name);
}

std::optional<SitePermission> permissionNamed(std::string_view permissionsApiName)
{
    auto found = std::ranges::find(names, permissionsApiName, &PermissionNames::permissionsApi);
    if (permissionsApiName.empty() || found == names.end())
        return std::nullopt;
    return found->permission;
}

std::string permissionQuestion(
    std::string_view workspaceName, std::string_view host, std::span<const SitePermission> permissions)
{
    // TRANSLATORS: {0} is a workspace's name, {1} what the site asks to do ("use your camera"), {2} the
    // site's host name ("meet.example.com").
    return fillIn(_("Allow {0} to {1} on {2}?"), workspaceName, actionOf(permissions), host);
}

std::string_view permissionQuestionDetail(std::span<const SitePermission> permissions)
{
    if (contains(permissions, SitePermission::screen))
        return N_("Cohortex asks each time a site wants to share your screen.");
    return N_(
        "Your answer is kept for this site in this workspace only. You can forget it in the workspace's "
        "settings.");
}

std::string encodePermissionDecisions(const PermissionDecisions& decisions)
{
    Json workspaces = Json::object();
    for (const auto& [workspaceId, sites] : decisions) {
        Json encodedSites = Json::object();
        for (const auto& [origin, site] : sites) {
            Json encodedSite = Json::object();
            for (auto [permission, allowed] : site) {
                if (auto name = storedName(permission))
                    encodedSite[std::string(*name)] = allowed;
            }
            if (!encodedSite.empty())
                encodedSites[origin] = std::move(encodedSite);
        }
        if (!encodedSites.empty())
            workspaces[workspaceId.string()] = std::move(encodedSites);
    }
    Json record = Json::object();
    record["version"] = recordVersion;
    record["workspaces"] = std::move(workspaces);
    return json::dump(record);
}

Expected<PermissionDecisions> decodePermissionDecisions(std::span<const std::uint8_t> bytes)
{
    auto document = json::parse(bytes);
    if (!document)
        return std::unexpected(document.error());
    if (!document->is_object())
        return makeError("the record is not a JSON object");
    auto version = json::required<std::int64_t>(*document, "version");
    if (!version)
        return std::unexpected(version.error());
    if (*version != recordVersion)
        return makeError("the record is of version " + std::to_string(*version) + ", not "
            + std::to_string(recordVersion));
    auto found = document->find("workspaces");
    if (found == document->end() || !found->is_object())
        return makeError("\"workspaces\" is not an object");
    PermissionDecisions decisions;
    for (const auto& [key, sites] : found->items()) {
        auto workspaceId = Uuid::parse(key);
        if (!workspaceId)
            return makeError("a key of \"workspaces\" is no workspace id");
        auto workspace = decodeWorkspace(sites);
        if (!workspace)
            return std::unexpected(workspace.error());
        decisions.emplace(*workspaceId, std::move(*workspace));
    }
    return decisions;
}

} // namespace cohortex
