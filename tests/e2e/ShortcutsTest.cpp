#include "E2eTest.h"

namespace cohortex {

// What the global shortcuts do, reached the two ways a desktop offers: the keys themselves (X11 grabs,
// typed here with xdotool), and the command lines a desktop without a global-shortcut service binds.
class ShortcutsTest : public CohortexE2eTest {
protected:
    void SetUp() override
    {
        CohortexE2eTest::SetUp();
        if (IsSkipped())
            return;
        profile().storeWorkspaces(std::vector{ makeWorkspace("Alpha", m_server.url("/alpha-home"), 1),
            makeWorkspace("Beta", m_server.url("/beta-home"), 2) });
    }

    // Which workspace was activated last: each activation stamps and stores its record.
    std::string lastActivated()
    {
        auto workspaces = profile().peekWorkspaces();
        if (!workspaces || workspaces->size() < 2)
            return "";
        return (*workspaces)[0].lastActiveAt > (*workspaces)[1].lastActiveAt ? "Alpha" : "Beta";
    }

    void press(const std::string& keys)
    {
        ASSERT_TRUE(LaunchedProgram::run({ "xdotool", "key", "--clearmodifiers", keys }, m_home.environment(),
            m_home.path(), secondInvocationTimeout)
                        .succeeded());
    }
};

// With no Cohortex running, the command line starts it and then does what it asks.
TEST_F(ShortcutsTest, theCommandLinesAndTheKeysDoWhatTheShortcutsDoAndTheFirstStartsCohortex)
{
    launch({ "--open-workspace", "2" });
    ASSERT_TRUE(waitForRequests("/beta-home"));
    ASSERT_TRUE(waitFor([&] { return lastActivated() == "Beta"; }));

    press("ctrl+alt+1");
    ASSERT_TRUE(waitFor([&] { return lastActivated() == "Alpha"; })) << "Ctrl+Alt+1 did not open workspace 1";
    ASSERT_TRUE(runSecond({ "--open-workspace", "2" }).succeeded());
    ASSERT_TRUE(waitFor([&] { return lastActivated() == "Beta"; }));

    ASSERT_TRUE(runSecond({ "--toggle" }).succeeded());
    EXPECT_TRUE(waitFor([&] { return !showsWindowTitled("^Cohortex$"); }))
        << "--toggle left the window in front";
    ASSERT_TRUE(runSecond({ "--toggle" }).succeeded());
    EXPECT_TRUE(waitFor([&] { return showsWindowTitled("^Cohortex$"); })) << "--toggle did not bring it back";
    auto outcome = quit();
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

} // namespace cohortex
