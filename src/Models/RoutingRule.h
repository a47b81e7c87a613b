#pragma once

#include "Support/Error.h"
#include "Support/Json.h"
#include "Support/Uuid.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace cohortex {

// Links to one site open in one workspace. The pattern is kept as it was stored: rules added by the
// user hold the normalised form, imported ones the text of their file, and matching normalises again.
struct RoutingRule {
    Uuid id;
    std::string pattern;
    Uuid workspaceId;

    bool operator==(const RoutingRule&) const = default;

    // Exactly "id", "pattern" and "workspaceId"; the ids in upper-case text form.
    Json toJson() const;
    // All three members are required; members it does not know are ignored.
    static Expected<RoutingRule> fromJson(const Json&);
};

// The stored list: a UTF-8 JSON array of rules in list order. One bad rule fails the whole list.
std::string encodeRoutingRules(std::span<const RoutingRule>);
Expected<std::vector<RoutingRule>> decodeRoutingRules(std::span<const std::uint8_t> bytes);

} // namespace cohortex

template <>
struct std::hash<cohortex::RoutingRule> {
    std::size_t operator()(const cohortex::RoutingRule&) const noexcept;
};
