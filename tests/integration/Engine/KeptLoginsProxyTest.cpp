#include "KeptLoginsFixture.h"

#include <gmock/gmock.h>

namespace cohortex {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

class KeptLoginsProxyTest : public KeptLoginsFixture { };

TEST_F(KeptLoginsProxyTest, ARefreshedProxyPasswordReplacesTheOneTheStoreWasGiven)
{
    const auto password = uniqueSecret("right-");
    auto proxy = ProxyProcess::http(keptLoginsProxyAddress, { m_proxyUser, password }, m_home.path());
    auto record = workspaceBehind(proxy);
    ASSERT_NO_FATAL_FAILURE(storeProxyPassword("wrong"));
    m_manager->refreshProxy(record);
    ASSERT_TRUE(storeUsesProxyPassword("wrong"));

    ASSERT_NO_FATAL_FAILURE(storeProxyPassword(password));
    m_manager->refreshProxy(record);
    ASSERT_TRUE(storeUsesProxyPassword(password));
    TestWebView view(engine(), m_storeA);
    ASSERT_EQ(view.load(m_server.url("/after-refresh")), Outcome::Finished) << view.lastError();

    EXPECT_EQ(peerOf("/after-refresh"), keptLoginsProxyAddress);
    EXPECT_GE(view.proxyLoginsAsked(), 1);
}

TEST_F(KeptLoginsProxyTest, APageAskingForTheLoginBeforeThePasswordArrivesGetsItOnceItDoes)
{
    const auto password = uniqueSecret("right-");
    auto proxy = ProxyProcess::http(keptLoginsProxyAddress, { m_proxyUser, password }, m_home.path());
    ASSERT_NO_FATAL_FAILURE(storeProxyPassword(password));
    m_secrets.holdsAnswers = true;
    m_manager->refreshProxy(workspaceBehind(proxy));
    TestWebView view(engine(), m_storeA);

    view.startLoading(m_server.url("/early"));
    ASSERT_TRUE(runUntil([&] { return view.proxyLoginsAsked() >= 1; }));
    m_secrets.answerNext();

    ASSERT_EQ(view.waitForLoad(), Outcome::Finished) << view.lastError();
    EXPECT_EQ(peerOf("/early"), keptLoginsProxyAddress);
}

struct FirstProxyLogin {
    const char* name;
    // What the keyring holds when the first page asks: nothing yet, or a wrong password.
    std::optional<std::string> password;

    friend void PrintTo(const FirstProxyLogin& login, std::ostream* out) { *out << login.name; }
};

class RefusedProxyLoginTest : public KeptLoginsFixture,
                              public ::testing::WithParamInterface<FirstProxyLogin> { };

// The engine's network session keeps the first proxy login it made for as long as it lives: one the view
// declined is never asked for again, and one the proxy refused with 401 instead of 407 (as tinyproxy
// does) counts as accepted. Correcting the password therefore has to reach the pages through a fresh
// session, and that session must still carry the user's logins to the sites.
TEST_P(RefusedProxyLoginTest, IsTriedAgainWithTheCorrectedPasswordOnceTheWorkspaceIsLoadedAgain)
{
    const auto password = uniqueSecret("right-");
    auto proxy = ProxyProcess::http(keptLoginsProxyAddress, { m_proxyUser, password }, m_home.path());
    auto record = workspaceBehind(proxy);
    const auto& firstPassword = GetParam().password;
    if (firstPassword) {
        ASSERT_NO_FATAL_FAILURE(storeProxyPassword(*firstPassword));
    }
    // At launch the last run's login comes back, and a remembered site setting is in the cookie file.
    ASSERT_NO_FATAL_FAILURE(keepLoginFromLastRun());
    ASSERT_NO_FATAL_FAILURE(prepare(record));
    setCookie(m_storeA, rememberedSetting());
    {
        TestWebView view(engine(), m_storeA);
        // The proxy's refusal is the page the view shows, or the load fails; the request goes no further.
        EXPECT_NE(view.load(m_server.url("/refused")), Outcome::TimedOut);

        // The user corrects the password in the workspace's settings, which applies the proxy again and
        // then puts the workspace to sleep, closing this page, and loads it again at once.
        ASSERT_NO_FATAL_FAILURE(storeProxyPassword(password));
        m_manager->refreshProxy(record);
    }
    TestWebView view(engine(), m_storeA);
    ASSERT_EQ(view.load(m_server.urlSettingCookie("/corrected", "fresh=1")), Outcome::Finished)
        << view.lastError();

    EXPECT_EQ(peerOf("/refused"), "(no request)");
    EXPECT_EQ(peerOf("/corrected"), keptLoginsProxyAddress);
    EXPECT_THAT(cookieSentFor("/corrected"), AllOf(HasSubstr(loginCookie()), HasSubstr("theme=dark")));
    // The jar of the fresh session is the one watched and saved now.
    ASSERT_TRUE(runUntil([&] { return savedCookies().size() == 2; }, saveTimeout));
    EXPECT_THAT(savedCookies(), UnorderedElementsAre(loginCookie(), "fresh=1"));
}

INSTANTIATE_TEST_SUITE_P(FirstLogin, RefusedProxyLoginTest,
    ::testing::Values(
        FirstProxyLogin{ "NoPasswordYet", std::nullopt }, FirstProxyLogin{ "WrongPassword", "wrong" }),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace cohortex
