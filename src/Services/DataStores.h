#pragma once

#include "Support/Uuid.h"

#include <span>

namespace cohortex {

struct WorkspaceSession;

// What the session manager needs of the per-workspace website data stores.
class DataStores {
public:
    virtual ~DataStores() = default;

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
