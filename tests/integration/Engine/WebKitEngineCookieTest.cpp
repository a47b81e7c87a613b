#include "EngineTest.h"
#include "TestWebView.h"

#include <cmath>
#include <gmock/gmock.h>

namespace cohortex {
namespace {

using ::testing::IsEmpty;
using Outcome = TestWebView::Outcome;

// Whole seconds, because the engine keeps expiry dates to the second.
Date wholeSecondsFromNow(double seconds)
{
    return Date::fromUnixTime(std::floor(Date::now().unixTime()) + seconds);
}

HttpCookie cookie(std::string name, std::string value, std::optional<Date> expires = std::nullopt)
{
    return { std::move(name), std::move(value), "127.0.0.1", "/", expires, false, false,
        HttpCookie::SameSite::Lax };
}

class WebKitEngineCookieTest : public EngineTest { };

TEST_F(WebKitEngineCookieTest, ACookieAPageSetsComesBackOnlyToItsOwnStore)
{
    TestWebView viewA(engine(), m_storeA);
    TestWebView viewB(engine(), m_storeB);

    ASSERT_EQ(viewB.load(m_server.url("/b-before")), Outcome::Finished) << viewB.lastError();
    ASSERT_EQ(viewA.load(m_server.urlSettingCookie("/login", "login=alice")), Outcome::Finished);
    ASSERT_EQ(viewA.load(m_server.url("/a")), Outcome::Finished);
    ASSERT_EQ(viewB.load(m_server.url("/b-after")), Outcome::Finished);

    EXPECT_EQ(cookieSentFor("/a"), "login=alice");
    EXPECT_EQ(cookieSentFor("/b-before"), "");
    EXPECT_EQ(cookieSentFor("/b-after"), "");
    EXPECT_THAT(cookiesOf(m_storeB), IsEmpty());
}

TEST_F(WebKitEngineCookieTest, ASiteTheStoreNeverVisitedGetsNoCookiesFromInsideAnotherSitesPage)
{
    TestWebView view(engine(), m_storeA);

    // Another host name for the same server makes the framed page a different site.
    auto tracker = m_server.urlSettingCookie("/tracker", "tracking=1", "localhost");
    ASSERT_EQ(view.load(m_server.urlFraming("/article", tracker)), Outcome::Finished);

    ASSERT_EQ(m_server.requestsFor("/tracker").size(), 1u);
    EXPECT_THAT(cookiesOf(m_storeA), IsEmpty());
}

// Every field of a cookie survives the trip into the engine's jar and back.
class CookieRoundTripTest : public EngineTest, public ::testing::WithParamInterface<HttpCookie> { };

TEST_P(CookieRoundTripTest, ASetCookieReadsBackUnchanged)
{
    setCookie(m_storeA, GetParam());

    EXPECT_THAT(cookiesOf(m_storeA), ::testing::ElementsAre(GetParam()));
    EXPECT_THAT(cookiesOf(m_storeB), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Fields, CookieRoundTripTest,
    ::testing::Values(HttpCookie{ "session", "s1", "127.0.0.1", "/", std::nullopt, false, false,
                          HttpCookie::SameSite::Lax },
        HttpCookie{ "persistent", "p1", "127.0.0.1", "/account", wholeSecondsFromNow(86400), false, true,
            HttpCookie::SameSite::Strict },
        HttpCookie{ "shared", "x=y", ".example.com", "/", wholeSecondsFromNow(3600), true, false,
            HttpCookie::SameSite::None }),
    [](const auto& info) { return info.param.name; });

TEST_F(WebKitEngineCookieTest, TheLatestObserverHearsOfChangesFromTheEngineAndFromPagesOfItsStoreOnly)
{
    int replaced = 0;
    int changesOfA = 0;
    int changesOfB = 0;
    engine().observeCookies(m_storeA, [&] { ++replaced; });
    engine().observeCookies(m_storeA, [&] { ++changesOfA; });
    engine().observeCookies(m_storeB, [&] { ++changesOfB; });

    setCookie(m_storeB, cookie("b", "1"));
    ASSERT_TRUE(runUntil([&] { return changesOfB > 0; }));
    EXPECT_EQ(changesOfA, 0);

    setCookie(m_storeA, cookie("a", "1"));
    ASSERT_TRUE(runUntil([&] { return changesOfA > 0; }));

    int beforePage = changesOfA;
    TestWebView view(engine(), m_storeA);
    ASSERT_EQ(view.load(m_server.urlSettingCookie("/set", "fromPage=1")), Outcome::Finished);
    EXPECT_TRUE(runUntil([&] { return changesOfA > beforePage; }));
    EXPECT_EQ(replaced, 0);
}

// Bringing session cookies back after a quit is the data store manager's work, proven with it.
TEST_F(WebKitEngineCookieTest, AfterAQuitPersistentCookiesReturnByThemselvesAndSessionCookiesDoNot)
{
    {
        TestWebView view(engine(), m_storeA);
        ASSERT_EQ(view.load(m_server.urlSettingCookie("/s", "sid=s1")), Outcome::Finished)
            << view.lastError();
        ASSERT_EQ(view.load(m_server.urlSettingCookie("/p", "keep=k1; Max-Age=3600")), Outcome::Finished);
    }
    restartEngine();
    TestWebView view(engine(), m_storeA);
    ASSERT_EQ(view.load(m_server.url("/after-quit")), Outcome::Finished) << view.lastError();
    EXPECT_EQ(cookieSentFor("/after-quit"), "keep=k1");
}

} // namespace
} // namespace cohortex
