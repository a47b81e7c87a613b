#include "Platform/Linux/LinuxIdleTime.h"

#include "Platform/Linux/MutterIdleMonitor.h"
#include "Platform/Linux/X11IdleTime.h"

#include <cstdlib>

namespace cohortex {

namespace {

bool isWaylandSession()
{
    const char* display = std::getenv("WAYLAND_DISPLAY");
    return display && *display;
}

} // namespace

LinuxIdleTime::LinuxIdleTime()
    : m_x11(isWaylandSession() ? nullptr : X11IdleTime::open())
{
    if (!m_x11)
        m_mutter = std::make_unique<MutterIdleMonitor>();
}

LinuxIdleTime::~LinuxIdleTime() = default;

double LinuxIdleTime::systemIdleSeconds()
{
    return m_x11 ? m_x11->idleSeconds() : m_mutter->idleSeconds();
}

LinuxIdleTime::Source LinuxIdleTime::source() const
{
    return m_x11 ? Source::X11ScreenSaver : Source::MutterIdleMonitor;
}

} // namespace cohortex
