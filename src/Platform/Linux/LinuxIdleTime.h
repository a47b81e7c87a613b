#pragma once

#include "Services/IdleTime.h"

#include <memory>

namespace cohortex {

class MutterIdleMonitor;
class X11IdleTime;

// The session's input idle time from whichever service this desktop offers, chosen once, when the
// object is made:
//
// - In a Wayland session, GNOME Shell's idle monitor on the session bus (asked in the background; see
//   MutterIdleMonitor). X11 is not used there even when Xwayland provides a display: Xwayland only
//   sees input sent to X clients, so its idle time would keep growing while the user types into
//   Wayland windows, ours included, and no time would ever be counted.
// - Otherwise the X server named by $DISPLAY, through MIT-SCREEN-SAVER.
// - Otherwise, with no display at all, the idle monitor is still asked; where nothing answers the idle
//   time is 0 and the user counts as active.
class LinuxIdleTime final : public IdleTime {
public:
    enum class Source { X11ScreenSaver, MutterIdleMonitor };

    LinuxIdleTime();
    ~LinuxIdleTime() override;
    LinuxIdleTime(const LinuxIdleTime&) = delete;
    LinuxIdleTime& operator=(const LinuxIdleTime&) = delete;

    double systemIdleSeconds() override;
    Source source() const;

private:
    std::unique_ptr<X11IdleTime> m_x11;
    std::unique_ptr<MutterIdleMonitor> m_mutter;
};

} // namespace cohortex
