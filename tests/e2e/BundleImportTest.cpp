#include "E2eTest.h"
#include "Models/WorkspaceBundle.h"

#include <algorithm>
#include <fstream>

namespace cohortex {

// The confirmation the import asks for is answered by the application itself when this is set; only
// builds for testing honour it.
const std::string autoConfirm = "COHORTEX_TEST_AUTO_ANSWER=confirm";

class BundleImportTest : public CohortexE2eTest { };

TEST_F(BundleImportTest, bundleFileHandedOverIsImportedAfterConfirmation)
{
    auto solo = makeWorkspace("Solo", m_server.url("/home"), 1);
    profile().storeWorkspaces(std::vector{ solo });
    WorkspaceBundle bundle;
    bundle.exportedAt = Date(std::floor(Date::now().secondsSinceReferenceDate()));
    bundle.workspaces.push_back({ "Team Tools", m_server.url("/team-start"), "hammer", "#FF9500", {}, {} });
    bundle.rules.push_back({ "team.example", 0 });
    const auto file = m_home.path() / "team.cohortex";
    std::ofstream(file) << bundle.encoded();

    launch({}, { autoConfirm });
    ASSERT_TRUE(waitForRequests("/home"));
    auto handedOver = runSecond({ file.string() }, { autoConfirm });
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

} // namespace cohortex
