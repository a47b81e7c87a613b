#include "Services/TeamSettingsTab.h"

#include "Models/WorkspaceImport.h"
#include "Services/SessionManager.h"
#include "Services/TeamSharing.h"
#include "Support/AtomicFile.h"
#include "Support/MainQueue.h"
#include "Support/QueueAwaitable.h"

namespace cohortex {

TeamSettingsTab::TeamSettingsTab(MainQueue& queue, SessionManager& sessions, TeamSharing& teamSharing)
    : m_queue(queue)
    , m_sessions(sessions)
    , m_teamSharing(teamSharing)
{
}

Task<void> TeamSettingsTab::exportTo(std::filesystem::path file)
{
    std::weak_ptr<bool> alive = m_alive;
    // Counted with the bundle, so that the line names what the file holds.
    auto count = m_sessions.workspaces().get().size();
    // Made before the co_await: g++ 12 destroys a lambda with captures twice inside a co_await expression.
    auto writing = offMainThread(
        m_queue, [file, data = m_teamSharing.exportData()] { return writeFileAtomically(file, data); });
    auto written = co_await writing;
    if (alive.expired())
        co_return;
    m_status.set(written ? exportStatus(count) : exportFailureStatus(written.error().message));
}

Task<void> TeamSettingsTab::importFrom(std::filesystem::path file)
{
    std::weak_ptr<bool> alive = m_alive;
    co_await m_teamSharing.confirmAndImport(std::move(file));
    if (!alive.expired())
        m_status.set(std::string());
}

} // namespace cohortex
