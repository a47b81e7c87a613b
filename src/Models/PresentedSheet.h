#pragma once

#include "Support/Uuid.h"

#include <optional>

namespace cohortex {

// Which of the window's sheets is on screen: at most one, chosen from the session manager's flags.
struct PresentedSheet {
    enum class Kind { none, createWorkspace, workspaceSettings };

    Kind kind{ Kind::none };
    // The workspace whose settings are shown; it may name no workspace of the list.
    std::optional<Uuid> workspaceId;

    // The session manager never sets both flags; should a caller do so anyway, the create sheet shows.
    static PresentedSheet wanted(bool showingCreateModal, const std::optional<Uuid>& workspaceSettingsID);

    bool operator==(const PresentedSheet&) const = default;
};

} // namespace cohortex
