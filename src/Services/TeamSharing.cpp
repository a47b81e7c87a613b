#include "Services/TeamSharing.h"

#include "Models/WorkspaceImport.h"
#include "Services/Alerts.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Support/MainQueue.h"
#include "Support/QueueAwaitable.h"
#include "Support/Translation.h"

namespace cohortex {

TeamSharing::TeamSharing(
    MainQueue& queue, SessionManager& sessions, RoutingRules& routingRules, Alerts& alerts)
    : m_queue(queue)
    , m_sessions(sessions)
    , m_routingRules(routingRules)
    , m_alerts(alerts)
{
}

std::string TeamSharing::exportData() const
{
    return WorkspaceBundle::make(m_sessions.workspaces().get(), m_routingRules.rules().get(), m_queue.now())
        .encoded();
}

Task<void> TeamSharing::confirmAndImport(std::filesystem::path file)
{
    std::weak_ptr<bool> alive = m_alive;
    m_sessions.showMainWindow();
    // Made before the co_await: g++ 12 destroys a lambda with captures twice inside a co_await expression.
    auto reading = offMainThread(m_queue, [file] { return previewImport(file); });
    auto bundle = co_await reading;
    if (alive.expired())
        co_return;
    if (!bundle) {
        co_await m_alerts.inform(_(importErrorMessage), _(importErrorDetails));
        co_return;
    }
    bool confirmed = co_await m_alerts.confirm(importConfirmationMessage(*bundle),
        importConfirmationDetails(*bundle), _(importButtonTitle), _(cancelImportButtonTitle));
    if (!confirmed || alive.expired())
        co_return;
    auto counts = m_sessions.apply(*bundle);
    if (!counts) {
        co_await m_alerts.inform(_(importFailedMessage), counts.error().message);
        co_return;
    }
    co_await m_alerts.inform(importResultMessage(counts->workspaces), importResultDetails(counts->rules));
}

} // namespace cohortex
