#pragma once

#include "Support/Date.h"
#include "Support/Uuid.h"

namespace cohortex {

struct WorkspaceSession;

// What the session manager needs of the live workspace state (tabs, sleeping and unlocked sets).
class LiveWorkspaces {
public:
    virtual ~LiveWorkspaces() = default;

    // True while the workspace has tabs in memory.
    virtual bool isLoaded(const Uuid& workspaceId) const = 0;
    virtual void load(const WorkspaceSession&, Date now) = 0;
    // Releases the workspace's pages; its tabs come back on the next load.
    virtual void sleep(const Uuid& workspaceId) = 0;
    // Drops tabs, saved open tabs and every live trace of a workspace that is being removed.
    virtual void forget(const Uuid& workspaceId) = 0;
    virtual bool isUnlocked(const Uuid& workspaceId) const = 0;
    virtual void markUnlocked(const Uuid& workspaceId) = 0;
    virtual void touch(const Uuid& workspaceId, Date now) = 0;
};

} // namespace cohortex
