#include "Engine/WebKitGtk/StoreDirectories.h"
#include "EngineTest.h"
#include "TestWebView.h"

#include <cmath>
#include <gmock/gmock.h>

namespace cohortex {

void PrintTo(const HttpCookie& cookie, std::ostream* out)
{
    *out << cookie.name << "=" << cookie.value << " domain=" << cookie.domain << " path=" << cookie.path
         << " expires=" << (cookie.expires ? std::to_string(cookie.expires->unixTime()) : "session")
         << (cookie.secure ? " secure" : "") << (cookie.httpOnly ? " httpOnly" : "")
         << " sameSite=" << static_cast<int>(cookie.sameSite);
}

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using Outcome = TestWebView::Outcome;
namespace fs = std::filesystem;

// Whole seconds, because the engine keeps expiry dates to the second.
Date wholeSecondsFromNow(double seconds)
{
    return Date::fromUnixTime(std::floor(Date::now().unixTime()) + seconds);
}

class WebKitEngineStoreTest : public EngineTest {
protected:
    void setCookie(const Uuid& storage, const HttpCookie& cookie)
    {
        EXPECT_TRUE(finishes(engine().setCookie(storage, cookie)));
    }
    std::optional<bool> destroy(const Uuid& storage)
    {
        auto destroyed = engine().destroyStore(storage);
        return finishes(destroyed) ? std::optional(destroyed.result()) : std::nullopt;
    }
};

// A relaunch reads each store's cookie file again: a file shared between stores would show one workspace's
// login in all of them. Another host name for the same server makes a framed page a third-party tracker.
// Every field of a cookie set through the engine survives its jar, and only session cookies end with a run.
TEST_F(WebKitEngineStoreTest, CookiesGoBackOnlyToTheirOwnStoreAlsoAfterARelaunchAndNoTrackerSetsOne)
{
    int changesOfA = 0;
    int changesOfB = 0;
    engine().observeCookies(m_storeA, [&] { ++changesOfA; });
    engine().observeCookies(m_storeB, [&] { ++changesOfB; });
    {
        TestWebView viewA(engine(), m_storeA);
        TestWebView viewB(engine(), m_storeB);
        ASSERT_EQ(viewB.load(m_server.url("/b-before")), Outcome::Finished) << viewB.lastError();
        ASSERT_EQ(
            viewA.load(m_server.urlSettingCookie("/login", "login=alice; Max-Age=3600")), Outcome::Finished);
        EXPECT_TRUE(runUntil([&] { return changesOfA > 0; }));
        auto tracker = m_server.urlSettingCookie("/tracker", "tracking=1", "localhost");
        ASSERT_EQ(viewA.load(m_server.urlWith("/article", { { "frame", tracker } })), Outcome::Finished);
        ASSERT_EQ(viewB.load(m_server.url("/b-after")), Outcome::Finished);

        ASSERT_EQ(m_server.requestsFor("/tracker").size(), 1u);
        EXPECT_EQ(cookieSentFor("/article"), "login=alice");
        EXPECT_THAT(cookieNamesOf(m_storeA), ElementsAre("login=alice"));
        EXPECT_EQ(cookieSentFor("/b-after"), "");
        EXPECT_EQ(changesOfB, 0);
    }
    const Uuid storeC = Uuid::random();
    const HttpCookie session{ "session", "s1", "127.0.0.1", "/", std::nullopt, false, false,
        HttpCookie::SameSite::Lax };
    const HttpCookie persistent{ "persistent", "p1", "127.0.0.1", "/account", wholeSecondsFromNow(86400),
        false, true, HttpCookie::SameSite::Strict };
    for (const auto& cookie : { session, persistent })
        setCookie(storeC, cookie);
    EXPECT_THAT(cookiesOf(storeC), UnorderedElementsAre(session, persistent));

    restartEngine();
    EXPECT_THAT(cookieNamesOf(m_storeA), ElementsAre("login=alice"));
    EXPECT_THAT(cookiesOf(m_storeB), IsEmpty());
    EXPECT_THAT(cookiesOf(storeC), ElementsAre(persistent));
}

TEST_F(WebKitEngineStoreTest, AStoreKeepsItsFilesPrivateAndIsEmptiedOrDestroyedAloneOnlyOnceReleased)
{
    const HttpCookie keep{ "keep", "1", "127.0.0.1", "/", wholeSecondsFromNow(3600), false, false,
        HttpCookie::SameSite::Lax };
    setCookie(m_storeB, keep);
    engine().openStore(m_storeA);
    auto directories = StoreDirectories::forStorage(m_storeA);
    {
        TestWebView view(engine(), m_storeA);
        ASSERT_EQ(view.load(m_server.urlSettingCookie("/set", "keep=1; Max-Age=3600")), Outcome::Finished);
        EXPECT_EQ(fs::status(directories.data).permissions(), fs::perms::owner_all);
        EXPECT_EQ(fs::status(directories.cache).permissions(), fs::perms::owner_all);

        EXPECT_EQ(destroy(m_storeA), false);
        EXPECT_TRUE(fs::exists(directories.data));
        ASSERT_TRUE(finishes(engine().removeAllData(m_storeA)));
        EXPECT_THAT(cookiesOf(m_storeA), IsEmpty());
        EXPECT_THAT(cookiesOf(m_storeB), ElementsAre(keep));
        ASSERT_EQ(view.load(m_server.url("/after-removal")), Outcome::Finished);
        EXPECT_EQ(cookieSentFor("/after-removal"), "");
    }
    EXPECT_EQ(destroy(m_storeA), true);
    // The network process lets go of the files in its own time; it must not bring them back.
    runFor(std::chrono::milliseconds(1500));
    EXPECT_FALSE(fs::exists(directories.data));
    EXPECT_FALSE(fs::exists(directories.cache));

    // A store this run never opened is destroyed from disk all the same.
    restartEngine();
    auto other = StoreDirectories::forStorage(m_storeB);
    ASSERT_TRUE(fs::exists(other.data));
    EXPECT_EQ(destroy(m_storeB), true);
    EXPECT_FALSE(fs::exists(other.data));
}

} // namespace
} // namespace cohortex
