#include "Models/PresentedSheet.h"

namespace cohortex {

PresentedSheet PresentedSheet::wanted(bool showingCreateModal, const std::optional<Uuid>& workspaceSettingsID)
{
    if (showingCreateModal)
        return { Kind::createWorkspace, std::nullopt };
    if (workspaceSettingsID)
        return { Kind::workspaceSettings, workspaceSettingsID };
    return {};
}

} // namespace cohortex
