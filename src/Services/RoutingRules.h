#pragma once

#include "Models/LinkRouter.h"
#include "Models/RoutingRule.h"
#include "Support/Observable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

class DefaultsStore;

// The user's routing rules, in list order, kept in the defaults store after every change. The order
// breaks ties between equally specific rules, so new rules go to the end. Main thread only.
class RoutingRules final {
public:
    // Reads nothing yet: the session manager loads the rules once the workspaces are known.
    explicit RoutingRules(DefaultsStore&);
    RoutingRules(const RoutingRules&) = delete;
    RoutingRules& operator=(const RoutingRules&) = delete;

    const Observable<std::vector<RoutingRule>>& rules() const { return m_rules; }
    // Every assignment is saved at once.
    void setRules(std::vector<RoutingRule>);

    // Adds a rule for the normalised pattern, replacing any rule for the same site; the new rule goes
    // to the end. A pattern that normalises to nothing is ignored.
    void addRule(std::string_view pattern, const Uuid& workspaceId);
    // As addRule, but keeps the pattern exactly as the bundle file wrote it.
    void addImportedRule(std::string pattern, const Uuid& workspaceId);
    // Saves even when no rule has that id.
    void removeRule(const Uuid& id);

    // Stored data that cannot be read is left alone until the next change replaces it; readable data
    // is saved back at once.
    void loadRoutingRules();
    void saveRoutingRules();
    void removeRules(const Uuid& workspaceId);

    // The routing answer for the current list, from a compiled copy rebuilt after each change.
    std::optional<Uuid> workspaceID(const Url&) const;
    // The same answer with the normalised pattern of the deciding rule.
    std::optional<LinkRouter::RuleMatch> match(const Url&) const;

private:
    void replaceRuleFor(const std::string& normalizedPattern, RoutingRule);

    DefaultsStore& m_defaults;
    Observable<std::vector<RoutingRule>> m_rules;
    // Built on the first lookup after a change, so that the two assignments of addRule, or a burst of
    // imported rules, compile the list once.
    mutable std::optional<CompiledRules> m_compiled;
};

} // namespace cohortex
