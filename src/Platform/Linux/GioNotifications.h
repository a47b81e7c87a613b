#pragma once

#include "Services/DesktopNotifier.h"

#include <gio/gio.h>
#include <string_view>

namespace cohortex {

// Desktop notifications of the application through GNotification: GNOME Shell's own service, the
// notification portal in a sandbox, else org.freedesktop.Notifications. Buttons name the application's
// actions, so a click reaches the command table even when the notification outlives the window. Without
// an application (a run that only answers the command line) nothing is sent.
class GioNotifications final : public DesktopNotifier {
public:
    explicit GioNotifications(GApplication*);

    void send(const DesktopNotice&) override;
    void withdraw(std::string_view id) override;

private:
    GApplication* m_application;
};

} // namespace cohortex
