#include "Models/WorkspaceImport.h"
#include "Services/Alerts.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Support/MainQueue.h"
#include "Support/QueueAwaitable.h"
#include "Support/Translation.h"

namespace cohortex {

Expected<SessionManager::ImportCounts> SessionManager::apply(const WorkspaceBundle& bundle)
{
    auto instantiated = bundle.instantiate(m_workspaces.get(), m_queue.now());
    auto before = m_workspaces.get();
    // Imported workspaces are plain new records: no activation, no store and no tabs until opened.
    if (!instantiated.newWorkspaces.empty()) {
        auto list = before;
        list.insert(list.end(), instantiated.newWorkspaces.begin(), instantiated.newWorkspaces.end());
        if (!commitWorkspaces(std::move(list)))
            return makeError(_(settingsNotWritableDetails));
    }
    std::vector<std::pair<std::string, Uuid>> rules;
    for (const auto& rule : instantiated.rules)
        rules.emplace_back(rule.pattern, rule.workspaceId);
    if (!rules.empty() && !m_routingRules.addImportedRules(rules)) {
        // Rules pointing nowhere would be worse than no import: the workspaces go again. Should that
        // write fail too, the list in memory stays what is stored, workspaces and all.
        if (!instantiated.newWorkspaces.empty())
            commitWorkspaces(std::move(before));
        return makeError(_(settingsNotWritableDetails));
    }
    return ImportCounts{ static_cast<int>(instantiated.newWorkspaces.size()),
        static_cast<int>(instantiated.rules.size()) };
}

} // namespace cohortex
