#pragma once

#include "Support/Task.h"
#include "Support/Uuid.h"

#include <span>
#include <vector>

namespace cohortex {

struct WorkspaceSession;

// What the session manager needs of the per-workspace website data stores.
class DataStores {
public:
    virtual ~DataStores() = default;

    // Whether login cookies are kept across quits; read fresh each time, as the preference may change.
    virtual bool keepSessionsEnabled() const = 0;
    // A prepared store has its saved login cookies back; pages may load in it.
    virtual bool isPrepared(const WorkspaceSession&) const = 0;
    // Restores the saved login cookies; callers waiting for the same store share one restoration. The
    // store's pages made meanwhile wait for it before they go out.
    virtual Task<void> prepare(WorkspaceSession) = 0;
    virtual Task<void> saveSessionCookies(std::vector<WorkspaceSession>) = 0;
    // Re-applies the record's proxy to its store; pages created afterwards use it.
    virtual void refreshProxy(const WorkspaceSession&) = 0;
    // Destroys the store and its files; retried in the background while a page still holds it.
    virtual void deleteWorkspaceStore(const Uuid& storageIdentifier) = 0;
    // Overwrites every given workspace's saved session cookies with nothing.
    virtual void forgetSavedSessions(std::span<const WorkspaceSession>) = 0;
    // Counts the store as ready without restoring saved cookies into it.
    virtual void markPrepared(const WorkspaceSession&) = 0;
};

} // namespace cohortex
