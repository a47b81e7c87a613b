#include "Models/StillRunningNotice.h"

#include "Support/Translation.h"

#include <array>

namespace cohortex {

bool StillRunningNotice::windowClosed(bool hasTrayIcon)
{
    if (hasTrayIcon || m_hasNotified)
        return false;
    m_hasNotified = true;
    return true;
}

const DesktopNotice& StillRunningNotice::notice()
{
    // Made at the first notice, when the user's language is known; the translations last the whole run.
    static const std::array<DesktopNotice::Button, 2> buttons{ {
        { _("Open"), "show-window" },
        { _("Quit"), "quit" },
    } };
    static const DesktopNotice stillRunning{
        .id = "still-running",
        .title = _("Cohortex is still running"),
        .body = _("Links you open elsewhere still go to the right workspace. Open Cohortex from your "
                  "applications to come back to its window."),
        .buttons = buttons,
        .defaultCommandName = "show-window",
    };
    return stillRunning;
}

} // namespace cohortex
