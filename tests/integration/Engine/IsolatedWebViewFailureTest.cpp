#include "IsolatedWebViewFixture.h"

#include <csignal>

namespace cohortex {
namespace {

using IsolatedWebViewFailureTest = IsolatedWebViewFixture;

TEST_F(IsolatedWebViewFailureTest, AKilledWebProcessShowsThatThePageStoppedAndReloadBringsItBack)
{
    auto& view = makeView(m_server.url("/chat"));
    ASSERT_TRUE(loaded(view, "/chat"));
    auto pids = processes(1);
    ASSERT_EQ(pids.size(), 1u);
    ::kill(*pids.begin(), SIGKILL);
    ASSERT_TRUE(showsTitle(view, "This page stopped")) << title(view);

    click(view, "a.button");
    EXPECT_TRUE(showsTitle(view, "test")) << title(view);
    EXPECT_EQ(m_server.requestsFor("/chat").size(), 2u);
}

} // namespace
} // namespace cohortex
