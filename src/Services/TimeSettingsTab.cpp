#include "Services/TimeSettingsTab.h"

#include "Services/Alerts.h"
#include "Services/SessionManager.h"
#include "Services/TimeTracker.h"
#include "Support/AtomicFile.h"
#include "Support/Log.h"
#include "Support/MainQueue.h"
#include "Support/QueueAwaitable.h"
#include "Support/Translation.h"

#include <map>

namespace cohortex {

std::vector<TimeSettingsTab::Row> TimeSettingsTab::rows(std::span<const WorkspaceSession> workspaces,
    const TimeLedger& ledger, Date now, const Calendar& calendar)
{
    std::vector<Row> rows;
    rows.reserve(workspaces.size());
    for (const auto& workspace : workspaces) {
        rows.push_back(Row{ workspace.id, workspace.name, workspace.displayColor(),
            TimeLedger::formatted(ledger.seconds(workspace.id, now, calendar)),
            TimeLedger::formatted(ledger.seconds(workspace.id, lastDays, now, calendar)) });
    }
    return rows;
}

TimeSettingsTab::TimeSettingsTab(
    MainQueue& queue, SessionManager& sessions, TimeTracker& tracker, Alerts& alerts)
    : m_queue(queue)
    , m_sessions(sessions)
    , m_tracker(tracker)
    , m_alerts(alerts)
{
}

std::vector<TimeSettingsTab::Row> TimeSettingsTab::rows() const
{
    return rows(m_sessions.workspaces().get(), m_tracker.ledger().get(), m_queue.now(), Calendar::current());
}

void TimeSettingsTab::prepareExport()
{
    // A failed save leaves the counted seconds in memory, where the export still finds them.
    m_tracker.save();
}

Task<void> TimeSettingsTab::exportCsv(std::filesystem::path file)
{
    std::map<Uuid, std::string> names;
    for (const auto& workspace : m_sessions.workspaces().get())
        names.emplace(workspace.id, workspace.name);
    // Made before the co_await: g++ 12 destroys a lambda with captures twice inside a co_await expression.
    auto writing = offMainThread(m_queue,
        [file, text = m_tracker.ledger().get().csv(names)] { return writeFileAtomically(file, text); });
    auto written = co_await writing;
    if (!written)
        logWarning("The time export was not written: " + written.error().message);
}

Task<void> TimeSettingsTab::clearHistory()
{
    std::weak_ptr<bool> alive = m_alive;
    bool confirmed = co_await m_alerts.confirmDestructive(
        _(clearQuestion), _(clearQuestionDetails), _(clearConfirmTitle), _(clearCancelTitle));
    if (!confirmed || alive.expired())
        co_return;
    if (!m_tracker.clear())
        co_await m_alerts.inform(_(changeNotSavedMessage), _(settingsNotWritableDetails));
}

} // namespace cohortex
