#include "E2eTest.h"
#include "Models/WorkspaceBundle.h"

#include <algorithm>
#include <fstream>

namespace cohortex {

class BundleImportTest : public CohortexE2eTest {
protected:
    std::filesystem::path teamBundle()
    {
        WorkspaceBundle bundle;
        bundle.exportedAt = Date(std::floor(Date::now().secondsSinceReferenceDate()));
        bundle.workspaces.push_back(
            { "Team Tools", m_server.url("/team-start"), "hammer", "#FF9500", {}, {} });
        bundle.rules.push_back({ "team.example", 0 });
        auto file = m_home.path() / "team.cohortex";
        std::ofstream(file) << bundle.encoded();
        return file;
    }

    // Whether the running instance shows a window whose title starts with the text (a dialog's message).
    bool showsWindowTitled(const std::string& start)
    {
        auto found = LaunchedProgram::run({ "xdotool", "search", "--onlyvisible", "--pid",
                                              std::to_string(m_app->pid()), "--name", "^" + start },
            m_home.environment(), m_home.path(), secondInvocationTimeout);
        return found.succeeded() && !found.output.empty();
    }
};

TEST_F(BundleImportTest, bundleFileHandedOverIsImportedAfterConfirmation)
{
    auto solo = makeWorkspace("Solo", m_server.url("/home"), 1);
    profile().storeWorkspaces(std::vector{ solo });
    auto file = teamBundle();

    launchAutoAnswering();
    ASSERT_TRUE(waitForRequests("/home"));
    auto handedOver = runSecond({ file.string() });
    ASSERT_TRUE(handedOver.succeeded()) << handedOver.describe();
    ASSERT_TRUE(waitFor([&] {
        auto workspaces = profile().peekWorkspaces();
        return workspaces && workspaces->size() == 2;
    })) << "The bundle's workspace was not added";

    auto outcome = quit();
    ASSERT_TRUE(outcome.succeeded()) << outcome.describe();
    auto workspaces = profile().workspaces();
    ASSERT_TRUE(workspaces && workspaces->size() == 2);
    EXPECT_EQ(workspaces->at(0).id, solo.id);
    const auto& imported = workspaces->at(1);
    EXPECT_EQ(imported.name, "Team Tools");
    EXPECT_EQ(imported.initialURL.absoluteString(), m_server.url("/team-start"));
    auto rules = profile().rules();
    ASSERT_TRUE(rules);
    EXPECT_TRUE(std::ranges::any_of(*rules, [&](const RoutingRule& rule) {
        return rule.pattern == "team.example" && rule.workspaceId == imported.id;
    })) << "The bundle's rule does not point to the imported workspace";
}

// Builds for testing once confirmed an import for whoever set a variable; the installed program asks.
TEST_F(BundleImportTest, noVariableInTheEnvironmentConfirmsAnImportForTheUser)
{
    profile().storeWorkspaces(std::vector{ makeWorkspace("Solo", m_server.url("/home"), 1) });
    auto file = teamBundle();
    launch({}, { "COHORTEX_TEST_AUTO_ANSWER=confirm" });
    ASSERT_TRUE(waitForRequests("/home"));
    ASSERT_TRUE(runSecond({ file.string() }).succeeded());
    ASSERT_TRUE(waitFor([&] { return showsWindowTitled("Import 1 workspace?"); }))
        << "The import did not ask";
    EXPECT_EQ(profile().peekWorkspaces()->size(), 1u) << "The import went ahead without the user";
    auto outcome = quit();
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

} // namespace cohortex
