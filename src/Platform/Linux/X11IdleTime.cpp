#include "Platform/Linux/X11IdleTime.h"

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

namespace cohortex {

struct X11IdleTime::Connection {
    Display* display{ nullptr };
    XScreenSaverInfo* info{ nullptr };

    ~Connection()
    {
        if (info)
            XFree(info);
        if (display)
            XCloseDisplay(display);
    }
};

std::unique_ptr<X11IdleTime> X11IdleTime::open()
{
    auto connection = std::make_unique<Connection>();
    // A null name means $DISPLAY; without one, Xlib fails at once instead of guessing a server.
    connection->display = XOpenDisplay(nullptr);
    if (!connection->display)
        return nullptr;
    int eventBase = 0;
    int errorBase = 0;
    if (!XScreenSaverQueryExtension(connection->display, &eventBase, &errorBase))
        return nullptr;
    connection->info = XScreenSaverAllocInfo();
    if (!connection->info)
        return nullptr;
    return std::unique_ptr<X11IdleTime>(new X11IdleTime(std::move(connection)));
}

X11IdleTime::X11IdleTime(std::unique_ptr<Connection> connection)
    : m_connection(std::move(connection))
{
}

X11IdleTime::~X11IdleTime() = default;

double X11IdleTime::idleSeconds() const
{
    auto* display = m_connection->display;
    if (!XScreenSaverQueryInfo(display, DefaultRootWindow(display), m_connection->info))
        return 0;
    return static_cast<double>(m_connection->info->idle) / 1000.0;
}

} // namespace cohortex
