#include "Platform/Linux/LinuxIdleTime.h"

#include "MainLoopWait.h"
#include "RunProgram.h"
#include "ScopedVariable.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace cohortex {
namespace {

constexpr auto missingBus = "unix:path=/nonexistent/cohortex-test-bus";

// Run under Xvfb (ctest does it with xvfb-run -a): the idle time of a real X server.
TEST(LinuxIdleTimeOnX11Test, GrowsWhileNobodyTouchesAnythingAndDropsOnInput)
{
    if (!std::getenv("DISPLAY") || !hasProgram("xdotool"))
        GTEST_SKIP() << "needs an X display (xvfb-run) and xdotool";
    ScopedVariable noWayland("WAYLAND_DISPLAY", nullptr);
    LinuxIdleTime idleTime;
    ASSERT_EQ(idleTime.source(), LinuxIdleTime::Source::X11ScreenSaver);
    ASSERT_TRUE(runProgram({ "xdotool", "mousemove", "10", "10" }).succeeded);
    g_usleep(1500 * 1000);

    // The tick reads on the main thread: a reading must not block.
    auto start = g_get_monotonic_time();
    double idle = idleTime.systemIdleSeconds();
    EXPECT_LT(secondsSince(start), 0.05);
    EXPECT_GE(idle, 1.4);
    EXPECT_LT(idle, 10);

    ASSERT_TRUE(runProgram({ "xdotool", "mousemove", "200", "150" }).succeeded);
    EXPECT_LT(idleTime.systemIdleSeconds(), 0.5);

    // Under Wayland, Xwayland's idle time only counts X clients, so it is not trusted.
    ScopedVariable wayland("WAYLAND_DISPLAY", "wayland-cohortex-test");
    ScopedVariable noBus("DBUS_SESSION_BUS_ADDRESS", missingBus);
    EXPECT_EQ(LinuxIdleTime().source(), LinuxIdleTime::Source::MutterIdleMonitor);
}

} // namespace
} // namespace cohortex
