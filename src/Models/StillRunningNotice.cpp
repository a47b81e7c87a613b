#include "Models/StillRunningNotice.h"

#include <array>

namespace cohortex {

namespace {

constexpr std::array<DesktopNotice::Button, 2> buttons{ {
    { "Open", "show-window" },
    { "Quit", "quit" },
} };

constexpr DesktopNotice stillRunning{
    .id = "still-running",
    .title = "Cohortex is still running",
    .body = "Links you open elsewhere still go to the right workspace. Open Cohortex from your applications "
            "to come back to its window.",
    .buttons = buttons,
    .defaultCommandName = "show-window",
};

} // namespace

bool StillRunningNotice::windowClosed(bool hasTrayIcon)
{
    if (hasTrayIcon || m_hasNotified)
        return false;
    m_hasNotified = true;
    return true;
}

const DesktopNotice& StillRunningNotice::notice()
{
    return stillRunning;
}

} // namespace cohortex
