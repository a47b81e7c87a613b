#pragma once

#include "Models/RoutingRule.h"
#include "Support/Url.h"
#include "Support/Uuid.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cohortex {

// Picks the workspace a link opens in from an ordered list of routing rules. Pure and stateless.
namespace LinkRouter {

// The rule that decided a link: its workspace and its normalised pattern.
struct RuleMatch {
    Uuid workspaceId;
    std::string pattern;

    bool operator==(const RuleMatch&) const = default;
};

// The canonical form of a typed site pattern: trimmed, lower-cased, without one leading "https://",
// then one "http://", then one "www.", and without trailing "/". Ports, queries and fragments stay.
// The result may be empty.
std::string normalize(std::string_view pattern);

// The workspace of the most specific matching rule: the longest normalised pattern (in user-perceived
// characters), the earlier rule among equally long ones. Nothing for a link without a host. Rebuilds
// its view of the rules on every call; CompiledRules answers the same far faster for a fixed list.
std::optional<Uuid> workspaceID(const Url&, std::span<const RoutingRule> rules);

} // namespace LinkRouter

// A rule list normalised, sorted and indexed by host once, for routing many links against one list.
// Gives exactly the answers of LinkRouter::workspaceID for the list it was built from.
class CompiledRules {
public:
    CompiledRules() = default;
    explicit CompiledRules(std::span<const RoutingRule>);

    std::optional<Uuid> workspaceID(const Url&) const;
    // The same decision, with the normalised pattern of the rule that made it.
    std::optional<LinkRouter::RuleMatch> match(const Url&) const;

private:
    struct Entry {
        // Position in the precedence order: lower wins.
        std::size_t rank{ 0 };
        // Empty for a bare-host pattern, else from the first "/" on.
        std::string path;
        Uuid workspaceId;
        std::string pattern;
    };

    struct StringHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const noexcept
        {
            return std::hash<std::string_view>{}(text);
        }
    };

    const Entry* firstMatch(std::string_view patternHost, std::string_view linkPath, const Entry* best) const;

    // Entries by pattern host, each list in precedence order.
    std::unordered_map<std::string, std::vector<Entry>, StringHash, std::equal_to<>> m_byHost;
};

} // namespace cohortex
