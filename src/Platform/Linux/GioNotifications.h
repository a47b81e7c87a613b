#pragma once

#include <gio/gio.h>

namespace cohortex {

struct DesktopNotice;

// Desktop notifications of the application through GNotification: GNOME Shell's own service, the
// notification portal in a sandbox, else org.freedesktop.Notifications. Buttons name the application's
// actions, so a click reaches the command table even when the notification outlives the window.
class GioNotifications {
public:
    explicit GioNotifications(GApplication*);

    void send(const DesktopNotice&);

private:
    GApplication* m_application;
};

} // namespace cohortex
