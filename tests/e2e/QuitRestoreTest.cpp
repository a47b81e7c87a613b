#include "E2eTest.h"
#include "integration/Engine/MainLoop.h"

#include <csignal>
#include <gmock/gmock.h>

namespace cohortex {

using ::testing::HasSubstr;

using QuitRestoreTest = CohortexE2eTest;

TEST_F(QuitRestoreTest, sigtermWritesTabsAndLedgerAndARelaunchBringsBackTabsAndSessionCookie)
{
    // A cookie without an expiry is a session cookie: the engine forgets it at quit, so only the
    // application's own saving can bring it back.
    auto solo = makeWorkspace("Solo", m_server.urlSettingCookie("/home", "sid=one; Path=/"), 1);
    profile().storeWorkspaces(std::vector{ solo });
    launch();
    ASSERT_TRUE(waitForRequests("/home"));
    const auto secondTab = m_server.url("/second-tab");
    auto handedOver = runSecond({ secondTab });
    ASSERT_TRUE(handedOver.succeeded()) << handedOver.describe();
    ASSERT_TRUE(waitForRequests("/second-tab"));
    // Cookie changes are saved a moment after they stop, not at quit: wait until the keyring holds them.
    const auto account = "session_cookies_" + solo.storageIdentifier.string();
    ASSERT_TRUE(waitFor([&] {
        auto lookup = LaunchedProgram::run(
            { "secret-tool", "lookup", "service", "com.kestrelwick.cohortex.keychain", "account", account },
            m_home.environment(), m_home.path(), 5s);
        return lookup.succeeded() && !lookup.output.empty();
    })) << "The session cookie was never saved to the keyring";

    auto outcome = quit();
    ASSERT_TRUE(outcome.succeeded()) << outcome.describe();
    EXPECT_TRUE(profile().ledger()) << "The time ledger was not written at quit";

    const auto requestsBefore = m_server.requests().size();
    launch();
    ASSERT_TRUE(waitForRequests("/home", 2));
    ASSERT_TRUE(waitForRequests("/second-tab", 2));
    // The first request of the new run left before any answer could set the cookie again, so the cookie
    // it carries was restored from the saved session.
    EXPECT_THAT(m_server.requests().at(requestsBefore).cookie, HasSubstr("sid=one"));
    outcome = quit();
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

} // namespace cohortex
