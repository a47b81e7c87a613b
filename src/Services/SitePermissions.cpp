#include "Services/SitePermissions.h"

#include "Services/StoredKeys.h"
#include "Support/Log.h"
#include "Support/MainQueue.h"
#include "Support/Observable.h"

#include <cmath>

namespace cohortex {

SitePermissions::SitePermissions(DefaultsStore& defaults, MainQueue& queue)
    : m_defaults(defaults)
    , m_queue(queue)
    , m_stored(defaults, keys::sitePermissions)
{
    load();
}

void SitePermissions::load()
{
    auto stored = m_stored.load();
    if (!stored)
        return;
    auto decoded = decodePermissionDecisions(*stored);
    if (decoded) {
        m_decisions = std::move(*decoded);
        return;
    }
    logWarning("The remembered site permissions could not be read (" + decoded.error().message
        + "); sites ask again, and the unreadable record is kept aside before it is replaced.");
    m_unreadable = std::move(*stored);
}

SitePermissions::Answer SitePermissions::answer(
    const Uuid& workspaceId, std::string_view origin, std::span<const SitePermission> permissions) const
{
    bool allAllowed = !permissions.empty();
    for (auto permission : permissions) {
        auto decided = decision(workspaceId, origin, permission);
        if (decided == false)
            return Answer::deny;
        allAllowed = allAllowed && decided == true;
    }
    return allAllowed ? Answer::allow : Answer::ask;
}

std::optional<bool> SitePermissions::decision(
    const Uuid& workspaceId, std::string_view origin, SitePermission permission) const
{
    auto workspace = m_decisions.find(workspaceId);
    if (workspace == m_decisions.end())
        return std::nullopt;
    auto site = workspace->second.find(origin);
    if (site == workspace->second.end())
        return std::nullopt;
    auto found = site->second.find(permission);
    return found == site->second.end() ? std::nullopt : std::optional(found->second);
}

void SitePermissions::remember(const Uuid& workspaceId, const std::string& origin,
    std::span<const SitePermission> permissions, bool allowed)
{
    SiteDecisions answered;
    for (auto permission : permissions) {
        if (isRemembered(permission))
            answered[permission] = allowed;
    }
    if (answered.empty())
        return;
    auto& site = m_decisions[workspaceId][origin];
    for (auto [permission, decided] : answered)
        site[permission] = decided;
    save();
}

std::vector<std::string> SitePermissions::sites(
    const Uuid& workspaceId, SitePermission permission, bool allowed) const
{
    std::vector<std::string> found;
    auto workspace = m_decisions.find(workspaceId);
    if (workspace == m_decisions.end())
        return found;
    for (const auto& [origin, site] : workspace->second) {
        auto decided = site.find(permission);
        if (decided != site.end() && decided->second == allowed)
            found.push_back(origin);
    }
    return found;
}

void SitePermissions::forget(const Uuid& workspaceId)
{
    if (m_decisions.erase(workspaceId))
        save();
}

void SitePermissions::followWorkspaces(const Observable<std::vector<WorkspaceSession>>& list)
{
    auto idsOf = [](const std::vector<WorkspaceSession>& workspaces) {
        std::set<Uuid> ids;
        for (const auto& workspace : workspaces)
            ids.insert(workspace.id);
        return ids;
    };
    m_listed = idsOf(list.get());
    m_listChanged = list.changed().connect([this, idsOf](const std::vector<WorkspaceSession>& workspaces) {
        auto listed = idsOf(workspaces);
        bool removed = false;
        for (const auto& id : m_listed) {
            if (!listed.contains(id))
                removed = m_decisions.erase(id) > 0 || removed;
        }
        m_listed = std::move(listed);
        if (removed)
            save();
    });
}

void SitePermissions::save()
{
    if (m_unreadable && !keepUnreadable())
        return;
    if (!m_stored.save(encodePermissionDecisions(m_decisions)))
        logWarning("The site permissions could not be saved; they hold until Cohortex quits.");
}

bool SitePermissions::keepUnreadable()
{
    auto stamp = static_cast<std::int64_t>(std::floor(m_queue.now().secondsSinceReferenceDate()));
    auto key = std::string(keys::sitePermissionsBackupPrefix) + std::to_string(stamp);
    if (!m_defaults.setData(key, *m_unreadable)) {
        logWarning("The unreadable site permissions could not be kept aside under " + key
            + "; new answers hold until Cohortex quits.");
        return false;
    }
    m_unreadable.reset();
    return true;
}

} // namespace cohortex
