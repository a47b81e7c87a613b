#pragma once

namespace cohortex {

struct DesktopNotice;

// Sends the application's desktop notifications.
class DesktopNotifier {
public:
    virtual ~DesktopNotifier() = default;

    virtual void send(const DesktopNotice&) = 0;
};

} // namespace cohortex
