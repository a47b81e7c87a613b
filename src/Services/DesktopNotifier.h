#pragma once

#include "Models/DesktopNotice.h"

#include <string_view>

namespace cohortex {

// The desktop's notifications, as the application sends them. A click on one runs a command of the
// command table, even when the window it came from has gone.
class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;

    // Replaces a notification of the same id still on screen.
    virtual void send(const DesktopNotice&) = 0;
    // Takes the notification off the screen, if it is still there.
    virtual void withdraw(std::string_view id) = 0;
};

} // namespace cohortex
