#include "Platform/Linux/LinuxIdleTime.h"

#include "MainLoopWait.h"
#include "RunProgram.h"
#include "ScopedVariable.h"
#include "SilentSocket.h"
#include "TemporaryDirectory.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace cohortex {
namespace {

constexpr auto missingBus = "unix:path=/nonexistent/cohortex-test-bus";

// Takes one reading, which the tick makes on the main thread, and fails the test if it blocked.
double quickReading(LinuxIdleTime& idleTime, double limit = 0.01)
{
    auto start = g_get_monotonic_time();
    double idle = idleTime.systemIdleSeconds();
    EXPECT_LT(secondsSince(start), limit);
    return idle;
}

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

    double idle = quickReading(idleTime, 0.05);
    EXPECT_GE(idle, 1.4);
    EXPECT_LT(idle, 10);

    ASSERT_TRUE(runProgram({ "xdotool", "mousemove", "200", "150" }).succeeded);
    EXPECT_LT(idleTime.systemIdleSeconds(), 0.5);

    // Under Wayland, Xwayland's idle time only counts X clients, so it is not trusted.
    ScopedVariable wayland("WAYLAND_DISPLAY", "wayland-cohortex-test");
    ScopedVariable noBus("DBUS_SESSION_BUS_ADDRESS", missingBus);
    EXPECT_EQ(LinuxIdleTime().source(), LinuxIdleTime::Source::MutterIdleMonitor);
}

// Neither X nor GNOME Shell: the user counts as active, and nobody waits for a silent bus.
TEST(LinuxIdleTimeWithoutDisplayTest, ReadsZeroAtOnceWhenTheBusNeverAnswers)
{
    ScopedVariable noDisplay{ "DISPLAY", nullptr };
    ScopedVariable noWayland{ "WAYLAND_DISPLAY", nullptr };
    TemporaryDirectory directory;
    auto path = (directory.path() / "bus").string();
    SilentSocket socket(path);
    ASSERT_TRUE(socket.isListening());
    ScopedVariable bus("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + path).c_str());
    LinuxIdleTime idleTime;
    for (int reading = 0; reading < 3; ++reading) {
        EXPECT_EQ(quickReading(idleTime), 0);
        runFor(0.2);
    }
    // The connection still waiting for the bus must fail before another test asks for a session bus.
    socket.close();
    runFor(0.3);
}

} // namespace
} // namespace cohortex
