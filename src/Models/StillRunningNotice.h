#pragma once

#include "Models/DesktopNotice.h"

namespace cohortex {

// Closing the window leaves Cohortex running with nothing on screen. Where the desktop shows no tray icon
// for it, the first close of a run says so in a notification, with the way back; after that the user
// knows, and more notifications would only nag.
class StillRunningNotice {
public:
    // The user closed or hid the main window. True when the notice is to be sent now.
    bool windowClosed(bool hasTrayIcon);

    static const DesktopNotice& notice();

private:
    bool m_hasNotified{ false };
};

} // namespace cohortex
