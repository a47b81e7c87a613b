#pragma once

#include "Support/Uuid.h"

#include <string>

namespace cohortex {

// FIXME: stand-in until the link router's own RoutingRule lands; replace this file with it at merge.
// A link rule: links whose site matches the pattern open in the workspace.
struct RoutingRule {
    Uuid id;
    std::string pattern;
    Uuid workspaceId;

    bool operator==(const RoutingRule&) const = default;
};

} // namespace cohortex
