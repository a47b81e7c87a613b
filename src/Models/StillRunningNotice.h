#pragma once

#include <span>
#include <string_view>

namespace cohortex {

// A desktop notification whose buttons run commands of the command table.
struct DesktopNotice {
    struct Button {
        std::string_view label;
        std::string_view commandName;
    };

    // Sending a notice again with the same id replaces the one still on screen.
    std::string_view id;
    std::string_view title;
    std::string_view body;
    std::span<const Button> buttons;
    // What clicking the notification itself runs, and the text it runs it with when the command takes one.
    std::string_view defaultCommandName;
    std::string_view defaultCommandText{};
};

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
