#include "Platform/Linux/LinuxIdleTime.h"

#include "MainLoopWait.h"
#include "Platform/Linux/GLibPtr.h"
#include "ScopedVariable.h"
#include "SilentSocket.h"
#include "TemporaryDirectory.h"

#include <cstdlib>
#include <glib.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace cohortex {
namespace {

// Runs xdotool against $DISPLAY and says whether it succeeded.
bool xdotool(std::vector<std::string> arguments)
{
    std::vector<char*> argv{ const_cast<char*>("xdotool") };
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    int status = 0;
    bool ran = g_spawn_sync(nullptr, argv.data(), nullptr,
        static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL), nullptr, nullptr, nullptr,
        nullptr, &status, nullptr);
    return ran && g_spawn_check_wait_status(status, nullptr);
}

// Times one reading, which the tick makes on the main thread.
double timedReading(LinuxIdleTime& idleTime, double& seconds)
{
    auto start = g_get_monotonic_time();
    double idle = idleTime.systemIdleSeconds();
    seconds = secondsSince(start);
    return idle;
}

// Run under Xvfb (ctest does it with xvfb-run -a): the idle time of a real X server.
class LinuxIdleTimeOnX11Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no X display: run under xvfb-run";
        GCharPtr program(g_find_program_in_path("xdotool"));
        if (!program)
            GTEST_SKIP() << "xdotool is not installed";
    }

    ScopedVariable m_noWayland{ "WAYLAND_DISPLAY", nullptr };
};

TEST_F(LinuxIdleTimeOnX11Test, GrowsWhileNobodyTouchesAnythingAndDropsOnInput)
{
    LinuxIdleTime idleTime;
    ASSERT_EQ(idleTime.source(), LinuxIdleTime::Source::X11ScreenSaver);
    ASSERT_TRUE(xdotool({ "mousemove", "10", "10" }));
    g_usleep(1500 * 1000);

    double seconds = 0;
    double idle = timedReading(idleTime, seconds);
    EXPECT_GE(idle, 1.4);
    EXPECT_LT(idle, 10);
    EXPECT_LT(seconds, 0.05);

    ASSERT_TRUE(xdotool({ "mousemove", "200", "150" }));
    EXPECT_LT(idleTime.systemIdleSeconds(), 0.5);
}

TEST_F(LinuxIdleTimeOnX11Test, AWaylandSessionDoesNotTrustXwayland)
{
    ScopedVariable wayland("WAYLAND_DISPLAY", "wayland-cohortex-test");
    ScopedVariable noBus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/cohortex-test-bus");
    LinuxIdleTime idleTime;
    EXPECT_EQ(idleTime.source(), LinuxIdleTime::Source::MutterIdleMonitor);
}

class LinuxIdleTimeWithoutDisplayTest : public ::testing::Test {
protected:
    ScopedVariable m_noDisplay{ "DISPLAY", nullptr };
    ScopedVariable m_noWayland{ "WAYLAND_DISPLAY", nullptr };
};

// Neither X nor GNOME Shell: the user counts as active, and nobody waits for the missing bus.
TEST_F(LinuxIdleTimeWithoutDisplayTest, AMissingBusReadsZeroAtOnce)
{
    ScopedVariable noBus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/cohortex-test-bus");
    auto start = g_get_monotonic_time();
    LinuxIdleTime idleTime;
    EXPECT_EQ(idleTime.source(), LinuxIdleTime::Source::MutterIdleMonitor);
    double seconds = 0;
    EXPECT_EQ(timedReading(idleTime, seconds), 0);
    runFor(0.3);
    EXPECT_EQ(timedReading(idleTime, seconds), 0);
    EXPECT_LT(seconds, 0.01);
    EXPECT_LT(secondsSince(start), 1);
}

TEST_F(LinuxIdleTimeWithoutDisplayTest, ABusThatNeverAnswersReadsZeroAtOnce)
{
    TemporaryDirectory directory;
    auto path = (directory.path() / "bus").string();
    SilentSocket socket(path);
    ASSERT_TRUE(socket.isListening());
    ScopedVariable silentBus("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + path).c_str());
    {
        LinuxIdleTime idleTime;
        double seconds = 0;
        for (int reading = 0; reading < 3; ++reading) {
            EXPECT_EQ(timedReading(idleTime, seconds), 0);
            EXPECT_LT(seconds, 0.01);
            runFor(0.2);
        }
    }
    // The connection still waiting for the bus must fail before another test asks for a session bus.
    socket.close();
    runFor(0.3);
}

} // namespace
} // namespace cohortex
