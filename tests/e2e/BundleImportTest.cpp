#include "E2eTest.h"

namespace cohortex {

// A bundle file handed over from outside, as a file manager or a mail client does it.
class BundleImportTest : public CohortexE2eTest {
protected:
    void SetUp() override
    {
        CohortexE2eTest::SetUp();
        if (IsSkipped())
            return;
        profile().storeWorkspaces(std::vector{ m_solo });
        m_bundle = writeBundle("Team Tools", "/team-start", "team.example");
    }

    WorkspaceSession m_solo = makeWorkspace("Solo", m_server.url("/home"), 1);
    std::filesystem::path m_bundle;
};

TEST_F(BundleImportTest, bundleFileHandedOverIsImportedAfterConfirmation)
{
    launchAutoAnswering();
    ASSERT_TRUE(waitForRequests("/home"));
    auto handedOver = runSecond({ m_bundle.string() });
    ASSERT_TRUE(handedOver.succeeded()) << handedOver.describe();
    ASSERT_TRUE(waitFor([&] {
        auto workspaces = profile().peekWorkspaces();
        return workspaces && workspaces->size() == 2;
    })) << "The bundle's workspace was not added";
    EXPECT_EQ(profile().peekWorkspaces()->at(1).name, "Team Tools");
    auto outcome = quit();
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

// Builds for testing once confirmed an import for whoever set a variable; the installed program asks.
TEST_F(BundleImportTest, noVariableInTheEnvironmentConfirmsAnImportForTheUser)
{
    launch({}, { "COHORTEX_TEST_AUTO_ANSWER=confirm" });
    ASSERT_TRUE(waitForRequests("/home"));
    ASSERT_TRUE(runSecond({ m_bundle.string() }).succeeded());
    ASSERT_TRUE(waitFor([&] { return showsWindowTitled("^Import 1 workspace?"); }))
        << "The import did not ask";
    EXPECT_EQ(profile().peekWorkspaces()->size(), 1u) << "The import went ahead without the user";
    auto outcome = quit();
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

} // namespace cohortex
