#include "E2eTest.h"

namespace cohortex {

// The global shortcuts reached the two ways a desktop offers: the keys (X11 grabs, typed with xdotool) and
// the command lines a desktop without a global-shortcut service binds.
class ShortcutsTest : public CohortexE2eTest {
protected:
    std::string lastActivated()
    {
        auto workspaces = profile().peekWorkspaces();
        if (!workspaces || workspaces->size() < 2)
            return "";
        return (*workspaces)[0].lastActiveAt > (*workspaces)[1].lastActiveAt ? "Alpha" : "Beta";
    }
};

TEST_F(ShortcutsTest, theCommandLinesAndTheKeysDoWhatTheShortcutsDoAndTheFirstStartsCohortex)
{
    profile().storeWorkspaces(std::vector{ makeWorkspace("Alpha", m_server.url("/alpha-home"), 1),
        makeWorkspace("Beta", m_server.url("/beta-home"), 2) });
    launch({ "--open-workspace", "2" });
    ASSERT_TRUE(waitForRequests("/beta-home"));
    ASSERT_TRUE(waitFor([&] { return lastActivated() == "Beta"; }));

    ASSERT_TRUE(LaunchedProgram::run({ "xdotool", "key", "--clearmodifiers", "ctrl+alt+1" },
        m_home.environment(), m_home.path(), secondInvocationTimeout)
                    .succeeded());
    ASSERT_TRUE(waitFor([&] { return lastActivated() == "Alpha"; })) << "Ctrl+Alt+1 did not open workspace 1";
    auto outcome = quit();
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

} // namespace cohortex
