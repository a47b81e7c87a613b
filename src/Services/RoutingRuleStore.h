#pragma once

#include "Support/Uuid.h"

namespace cohortex {

// What the session manager needs of the link rules: loading them at start-up and dropping a removed
// workspace's rules.
class RoutingRuleStore {
public:
    virtual ~RoutingRuleStore() = default;

    virtual void loadRoutingRules() = 0;
    // Removes every rule that points to the workspace and saves the list.
    virtual void removeRules(const Uuid& workspaceId) = 0;
};

} // namespace cohortex
