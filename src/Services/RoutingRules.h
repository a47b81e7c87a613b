#pragma once

#include "Models/LinkRouter.h"
#include "Models/RoutingRule.h"
#include "Support/Observable.h"
#include "Support/StoredRecord.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cohortex {

class DefaultsStore;

// The user's routing rules, in list order, kept in the defaults store after every change. The order
// breaks ties between equally specific rules, so new rules go to the end. Main thread only.
//
// A change is stored before it is shown: when the write fails, the rules in memory stay the stored ones
// and the change answers false, so that whoever asked can tell the user.
class RoutingRules final {
public:
    // Reads nothing yet: the session manager loads the rules once the workspaces are known.
    explicit RoutingRules(DefaultsStore&);
    RoutingRules(const RoutingRules&) = delete;
    RoutingRules& operator=(const RoutingRules&) = delete;

    const Observable<std::vector<RoutingRule>>& rules() const { return m_rules; }
    bool setRules(std::vector<RoutingRule>);

    // Adds a rule for the normalised pattern, replacing any rule for the same site; the new rule goes
    // to the end. A pattern that normalises to nothing is ignored (and answers true: nothing was lost).
    bool addRule(std::string_view pattern, const Uuid& workspaceId);
    // As addRule for each (pattern, workspace) in order, keeping each pattern exactly as the bundle file
    // wrote it; stored once, all or nothing.
    bool addImportedRules(const std::vector<std::pair<std::string, Uuid>>& rules);
    // Saves even when no rule has that id.
    bool removeRule(const Uuid& id);
    bool removeRules(const Uuid& workspaceId);

    // Stored data that cannot be read is left alone until the next change replaces it; readable data
    // is saved back at once.
    void loadRoutingRules();
    bool saveRoutingRules();

    // The routing answer for the current list, from a compiled copy rebuilt after each change.
    std::optional<Uuid> workspaceID(const Url&) const;
    // The same answer with the normalised pattern of the deciding rule.
    std::optional<LinkRouter::RuleMatch> match(const Url&) const;

private:
    bool store(const std::vector<RoutingRule>&);
    void show(std::vector<RoutingRule>);

    StoredRecord m_stored;
    Observable<std::vector<RoutingRule>> m_rules;
    // Built on the first lookup after a change, so that a burst of changes compiles the list once.
    mutable std::optional<CompiledRules> m_compiled;
};

} // namespace cohortex
