#include "Services/Presentation.h"

#include "Support/MainQueue.h"

namespace cohortex {

Presentation::Presentation(MainQueue& queue)
    : m_queue(queue)
{
}

Presentation::~Presentation() = default;

bool Presentation::anySheetOpen() const
{
    return m_showingCreateModal.get() || m_showingSettings.get() || m_workspaceSettingsID.get();
}

void Presentation::present(bool alreadyOpen, std::function<void()> open)
{
    if (alreadyOpen)
        return;
    if (!anySheetOpen()) {
        open();
        return;
    }
    m_showingCreateModal.set(false);
    m_showingSettings.set(false);
    m_workspaceSettingsID.set(std::nullopt);
    m_queue.postAfter(sheetGapSeconds, [alive = std::weak_ptr<bool>(m_alive), open = std::move(open)] {
        if (!alive.expired())
            open();
    });
}

void Presentation::showCreateModal()
{
    present(m_showingCreateModal.get(), [this] { m_showingCreateModal.set(true); });
}

void Presentation::showSettings()
{
    present(m_showingSettings.get(), [this] { m_showingSettings.set(true); });
}

void Presentation::showWorkspaceSettings(const Uuid& workspaceId)
{
    present(m_workspaceSettingsID.get() == workspaceId,
        [this, workspaceId] { m_workspaceSettingsID.set(workspaceId); });
}

} // namespace cohortex
