#pragma once

#include <memory>

namespace cohortex {

// Reads the X server's own input idle time through the MIT-SCREEN-SAVER extension, over a display
// connection of its own that stays open for the object's life.
class X11IdleTime {
public:
    // Opens the display $DISPLAY names; nothing when there is none, it cannot be opened, or the server
    // lacks the extension.
    static std::unique_ptr<X11IdleTime> open();
    ~X11IdleTime();
    X11IdleTime(const X11IdleTime&) = delete;
    X11IdleTime& operator=(const X11IdleTime&) = delete;

    // One round trip to the X server, which is local: well under a millisecond.
    double idleSeconds() const;

private:
    struct Connection;
    explicit X11IdleTime(std::unique_ptr<Connection>);

    std::unique_ptr<Connection> m_connection;
};

} // namespace cohortex
