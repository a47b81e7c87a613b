#include "E2eTest.h"

namespace cohortex {

using BundleImportTest = CohortexE2eTest;

// A bundle file handed over from outside, as a file manager or a mail client does it. Builds for testing
// once confirmed an import for whoever set a variable; the installed program asks.
TEST_F(BundleImportTest, bundleFileHandedOverAsksTheUserAndIsImportedOnceConfirmed)
{
    profile().storeWorkspaces(std::vector{ makeWorkspace("Solo", m_server.url("/home"), 1) });
    const auto bundle = writeBundle("Team Tools", "/team-start", "team.example");
    launch({}, { "COHORTEX_TEST_AUTO_ANSWER=confirm" });
    ASSERT_TRUE(waitForRequests("/home"));
    ASSERT_TRUE(runSecond({ bundle.string() }).succeeded());
    ASSERT_TRUE(waitFor([&] { return showsWindowTitled("^Import 1 workspace?"); }))
        << "The import did not ask";
    EXPECT_EQ(profile().peekWorkspaces()->size(), 1u) << "The import went ahead without the user";
    auto outcome = quit();
    ASSERT_TRUE(outcome.succeeded()) << outcome.describe();

    launchAutoAnswering();
    ASSERT_TRUE(waitForRequests("/home", 2));
    auto handedOver = runSecond({ bundle.string() });
    ASSERT_TRUE(handedOver.succeeded()) << handedOver.describe();
    ASSERT_TRUE(waitFor([&] {
        auto workspaces = profile().peekWorkspaces();
        return workspaces && workspaces->size() == 2;
    })) << "The bundle's workspace was not added";
    EXPECT_EQ(profile().peekWorkspaces()->at(1).name, "Team Tools");
    outcome = quit();
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

} // namespace cohortex
