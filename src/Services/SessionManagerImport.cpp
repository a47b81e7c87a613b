#include "Models/WorkspaceImport.h"
#include "Services/Alerts.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Support/MainQueue.h"
#include "Support/QueueAwaitable.h"

namespace cohortex {

std::string SessionManager::exportData() const
{
    return WorkspaceBundle::make(m_workspaces.get(), m_routingRules.rules().get(), m_queue.now()).encoded();
}

Expected<SessionManager::ImportCounts> SessionManager::apply(const WorkspaceBundle& bundle)
{
    auto instantiated = bundle.instantiate(m_workspaces.get(), m_queue.now());
    auto before = m_workspaces.get();
    // Imported workspaces are plain new records: no activation, no store and no tabs until opened.
    if (!instantiated.newWorkspaces.empty()) {
        auto list = before;
        list.insert(list.end(), instantiated.newWorkspaces.begin(), instantiated.newWorkspaces.end());
        if (!commitWorkspaces(std::move(list)))
            return makeError(std::string(settingsNotWritableDetails));
    }
    std::vector<std::pair<std::string, Uuid>> rules;
    for (const auto& rule : instantiated.rules)
        rules.emplace_back(rule.pattern, rule.workspaceId);
    if (!rules.empty() && !m_routingRules.addImportedRules(rules)) {
        // Rules pointing nowhere would be worse than no import: the workspaces go again. Should that
        // write fail too, the list in memory stays what is stored, workspaces and all.
        if (!instantiated.newWorkspaces.empty())
            commitWorkspaces(std::move(before));
        return makeError(std::string(settingsNotWritableDetails));
    }
    return ImportCounts{ static_cast<int>(instantiated.newWorkspaces.size()),
        static_cast<int>(instantiated.rules.size()) };
}

Task<void> SessionManager::confirmAndImport(std::filesystem::path file)
{
    std::weak_ptr<bool> alive = m_alive;
    showMainWindow();
    // Made before the co_await: g++ 12 destroys a lambda with captures twice inside a co_await expression.
    auto reading = offMainThread(m_queue, [file] { return previewImport(file); });
    auto bundle = co_await reading;
    if (alive.expired())
        co_return;
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
    if (!counts) {
        co_await m_alerts.inform(std::string(importFailedMessage), counts.error().message);
        co_return;
    }
    co_await m_alerts.inform(importResultMessage(counts->workspaces), importResultDetails(counts->rules));
}

} // namespace cohortex
