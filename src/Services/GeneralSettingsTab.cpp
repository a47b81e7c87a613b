#include "Services/GeneralSettingsTab.h"

#include "Services/Alerts.h"
#include "Services/LoginItem.h"
#include "Services/SessionManager.h"
#include "Support/Translation.h"

#include <algorithm>

namespace cohortex {

std::optional<std::size_t> GeneralSettingsTab::hibernationChoice(std::int64_t minutes)
{
    auto found = std::ranges::find(hibernationChoices, minutes, &HibernationChoice::minutes);
    if (found == hibernationChoices.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - hibernationChoices.begin());
}

GeneralSettingsTab::GeneralSettingsTab(
    SessionManager& sessions, LoginItem& loginItem, Alerts& alerts, ClearWorkspaceData clear)
    : m_sessions(sessions)
    , m_loginItem(loginItem)
    , m_alerts(alerts)
    , m_clear(std::move(clear))
    , m_launchAtLogin(loginItem.isEnabled())
{
}

void GeneralSettingsTab::setLaunchAtLogin(bool wanted)
{
    m_launchAtLogin = wanted;
    if (wanted == m_loginItem.isEnabled())
        return;
    if (!m_loginItem.setEnabled(wanted))
        m_launchAtLogin = m_loginItem.isEnabled();
}

bool GeneralSettingsTab::chooseHibernation(std::size_t index)
{
    if (index >= hibernationChoices.size())
        return true;
    return m_sessions.setSleepAfterMinutes(hibernationChoices[index].minutes);
}

Task<void> GeneralSettingsTab::purgeAllStorage()
{
    std::weak_ptr<bool> alive = m_alive;
    bool confirmed = co_await m_alerts.confirmDestructive(
        _(purgeQuestion), _(purgeQuestionDetails), _(purgeConfirmTitle), _(purgeCancelTitle));
    if (!confirmed || alive.expired())
        co_return;
    // The list as it is now, not as it was when the question was asked.
    auto workspaces = m_sessions.workspaces().get();
    for (const auto& workspace : workspaces)
        m_clear(workspace);
}

} // namespace cohortex
