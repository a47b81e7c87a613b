#pragma once

#include "Models/SitePermission.h"
#include "Models/WorkspaceSession.h"
#include "Support/ScopedConnection.h"
#include "Support/StoredRecord.h"

#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

class DefaultsStore;
class MainQueue;
template <typename T>
class Observable;

// The user's answers to sites asking for the camera, microphone, location, notifications or clipboard,
// remembered per workspace and site in the defaults database. The record is read once; it is written
// only when an answer is given or forgotten, so a user who is never asked has no such key at all.
//
// A record that cannot be read counts as no answers, with one warning in the log. It is not lost: before
// the first answer overwrites it, it is copied under keys::sitePermissionsBackupPrefix and the time, and
// while that copy cannot be made nothing is written over it. Main thread only.
class SitePermissions {
public:
    enum class Answer { allow, deny, ask };

    SitePermissions(DefaultsStore&, MainQueue&);
    SitePermissions(const SitePermissions&) = delete;
    SitePermissions& operator=(const SitePermissions&) = delete;

    // Allowed when every permission asked for was allowed, denied when one of them was refused, and
    // asked otherwise. Permissions that are never remembered are always asked for.
    Answer answer(const Uuid& workspaceId, std::string_view origin, std::span<const SitePermission>) const;
    std::optional<bool> decision(const Uuid& workspaceId, std::string_view origin, SitePermission) const;
    // Remembers the user's answer for each remembered permission of the question, and stores it. The
    // answer holds for this run even when it cannot be stored.
    void remember(
        const Uuid& workspaceId, const std::string& origin, std::span<const SitePermission>, bool allowed);
    // The sites of the workspace with a remembered answer for the permission.
    std::vector<std::string> sites(const Uuid& workspaceId, SitePermission, bool allowed) const;

    bool hasDecisions(const Uuid& workspaceId) const { return m_decisions.contains(workspaceId); }
    // Every site of the workspace asks again.
    void forget(const Uuid& workspaceId);
    // A workspace taken off the list takes its answers with it. Only removals seen here count: a list
    // that is replaced whole at launch says nothing about the workspaces answers were given in.
    void followWorkspaces(const Observable<std::vector<WorkspaceSession>>&);

private:
    void load();
    void save();
    // Copies an unreadable record aside; false when it could not be, and the record must stay.
    bool keepUnreadable();

    DefaultsStore& m_defaults;
    MainQueue& m_queue;
    StoredRecord m_stored;
    PermissionDecisions m_decisions;
    // The stored bytes that could not be read, until they are kept aside.
    std::optional<Bytes> m_unreadable;
    std::set<Uuid> m_listed;
    ScopedConnection m_listChanged;
};

} // namespace cohortex
