#include "E2eTest.h"

namespace cohortex {

// The rule sends every localhost link to Beta: a link that reaches the server with Alpha's cookie was
// opened in the wrong workspace.
class LinkRoutingTest : public CohortexE2eTest {
protected:
    void SetUp() override
    {
        CohortexE2eTest::SetUp();
        if (IsSkipped())
            return;
        m_alpha
            = makeWorkspace("Alpha", m_server.urlSettingCookie("/alpha-home", "ws=alpha", "localhost"), 1);
        m_beta = makeWorkspace("Beta", m_server.url("/beta-home"), 2);
        profile().storeWorkspaces(std::vector{ *m_alpha, *m_beta });
        profile().storeRules(std::vector{ makeRule("localhost", *m_beta) });
    }

    std::optional<WorkspaceSession> m_alpha;
    std::optional<WorkspaceSession> m_beta;
};

TEST_F(LinkRoutingTest, linksFromAnotherProgramOpenAsTabsInTheRulesWorkspaceWithItsCookiesAndOnlyTheLastLoads)
{
    launch();
    ASSERT_TRUE(waitForRequests("/alpha-home"));
    const auto firstLink = m_server.urlSettingCookie("/beta-first", "ws=beta", "localhost");
    auto handedOver = runSecond({ firstLink });
    ASSERT_TRUE(handedOver.succeeded()) << handedOver.describe();
    ASSERT_TRUE(waitForRequests("/beta-first"));
    EXPECT_EQ(m_server.requestsFor("/beta-first").front().cookie, "")
        << "The link was opened with the website data of the active workspace";
    const auto routedLink = m_server.url("/routed", "localhost");
    ASSERT_TRUE(runSecond({ routedLink }).succeeded());
    ASSERT_TRUE(waitForRequests("/routed"));
    EXPECT_EQ(m_server.requestsFor("/routed").front().cookie, "ws=beta");

    // A script handing over many links at once must get its answer promptly and must not start a page, and
    // with it a web process, per link: only the last link loads until its siblings are selected.
    std::vector<std::string> links;
    for (int index = 0; index < 200; ++index)
        links.push_back(m_server.url("/many/" + std::to_string(index), "localhost"));
    ASSERT_TRUE(runSecond(links).succeeded());
    ASSERT_TRUE(waitForRequests("/many/199"));
    waitFor([] { return false; }, 2s);
    for (int index = 0; index < 199; ++index)
        EXPECT_TRUE(m_server.requestsFor("/many/" + std::to_string(index)).empty()) << index;
    auto outcome = quit();
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

// A link that starts Cohortex loads no start page besides; a misspelt workspace name starts nothing.
TEST_F(LinkRoutingTest, aLinkThatStartsCohortexIsTheOnlyPageItLoadsAndAnUnknownWorkspaceStartsNothing)
{
    auto answer = runSecond({ "--workspace", "Gamma", m_server.url("/dropped") });
    ASSERT_TRUE(answer.hasEnded) << "Cohortex was started and kept running";
    EXPECT_EQ(answer.exitStatus, 1);
    EXPECT_EQ(answer.errors, "No workspace is named \"Gamma\".\n");

    launch({ m_server.url("/launched-with", "localhost") });
    ASSERT_TRUE(waitForRequests("/launched-with"));
    waitFor([] { return false; }, 1s);
    EXPECT_TRUE(m_server.requestsFor("/alpha-home").empty());
    EXPECT_TRUE(m_server.requestsFor("/beta-home").empty());
    auto outcome = quit();
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

} // namespace cohortex
