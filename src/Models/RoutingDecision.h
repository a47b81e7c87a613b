#pragma once

#include "Models/WorkspaceSession.h"

#include <string>

namespace cohortex {

// Why a link opens where it does, in the order the choices are tried.
enum class RoutingReason { Rule, Fallback, Current };

// The workspace a link opens in and why. Link intake acts on it; the command line reports it.
struct RoutingDecision {
    WorkspaceSession workspace;
    RoutingReason reason{ RoutingReason::Current };
    // The normalised pattern of the deciding rule; empty unless the reason is Rule.
    std::string pattern;
};

} // namespace cohortex
