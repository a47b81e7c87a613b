#include "Models/WorkspaceImport.h"
#include "Services/Alerts.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Support/MainQueue.h"

namespace cohortex {

std::string SessionManager::exportData() const
{
    return WorkspaceBundle::make(m_workspaces.get(), m_routingRules.rules().get(), m_queue.now()).encoded();
}

SessionManager::ImportCounts SessionManager::apply(const WorkspaceBundle& bundle)
{
    auto instantiated = bundle.instantiate(m_workspaces.get(), m_queue.now());
    // Imported workspaces are plain new records: no activation, no store and no tabs until opened.
    if (!instantiated.newWorkspaces.empty()) {
        m_workspaces.modify([&](auto& list) {
            list.insert(list.end(), instantiated.newWorkspaces.begin(), instantiated.newWorkspaces.end());
        });
    }
    for (const auto& rule : instantiated.rules)
        m_routingRules.addImportedRule(rule.pattern, rule.workspaceId);
    saveWorkspaces();
    return { static_cast<int>(instantiated.newWorkspaces.size()),
        static_cast<int>(instantiated.rules.size()) };
}

Task<void> SessionManager::confirmAndImport(std::filesystem::path file)
{
    std::weak_ptr<bool> alive = m_alive;
    showMainWindow();
    auto bundle = previewImport(file);
    if (!bundle) {
        co_await m_alerts.inform(std::string(importErrorMessage), std::string(importErrorDetails));
        co_return;
    }
    bool confirmed
        = co_await m_alerts.confirm(importConfirmationMessage(*bundle), importConfirmationDetails(*bundle),
            std::string(importButtonTitle), std::string(cancelImportButtonTitle));
    if (!confirmed || alive.expired())
        co_return;
    auto counts = apply(*bundle);
    co_await m_alerts.inform(importResultMessage(counts.workspaces), importResultDetails(counts.rules));
}

} // namespace cohortex
