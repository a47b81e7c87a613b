#include "EngineTest.h"
#include "Platform/Linux/GLibPtr.h"
#include "ProxyProcess.h"
#include "TestWebView.h"

#include <gmock/gmock.h>

namespace cohortex {
namespace {

using ::testing::HasSubstr;
using Outcome = TestWebView::Outcome;
constexpr auto none = std::nullopt;

// Each proxy connects onwards from its own loopback address, so the server's peer address says which
// way a request came: directly from 127.0.0.1, or through one of the proxies.
constexpr const char* directAddress = "127.0.0.1";
constexpr const char* socksAddress = "127.0.0.2";
constexpr const char* httpProxyAddress = "127.0.0.3";

// Characters that must be escaped in a proxy URI, so that a login only works when it is encoded.
const ProxyProcess::Login socksLogin{ "socks user", "p@ss:w/rd %41" };
const ProxyProcess::Login httpLogin{ "webuser", "s3cret" };

ProxySettings socksProxy(const ProxyProcess& proxy, const ProxyProcess::Login& login)
{
    return { ProxySettings::Kind::Socks5, "127.0.0.1", proxy.port(), login.first, login.second };
}

ProxySettings httpProxy(const ProxyProcess& proxy, const ProxyProcess::Login& login)
{
    return { ProxySettings::Kind::HttpConnect, "127.0.0.1", proxy.port(), login.first, login.second };
}

class WebKitEngineProxyTest : public EngineTest {
protected:
    const Uuid m_storeC = Uuid::random();
};

// Secure pages travel inside the proxy's tunnel (CONNECT, or SOCKS) and still leave from its address.
TEST_F(WebKitEngineProxyTest, EachStoreReachesTheServerOnlyThroughItsOwnProxyForPlainAndSecurePages)
{
    GErrorPtr error;
    GObjectPtr<GTlsCertificate> certificate(
        g_tls_certificate_new_from_file(COHORTEX_TEST_CERTIFICATE, error.out()));
    ASSERT_TRUE(certificate) << error.message();
    TestHttpServer secure({ .port = 0, .certificate = certificate.get() });
    auto socks = ProxyProcess::socks5(socksAddress, socksLogin);
    auto http = ProxyProcess::http(httpProxyAddress, httpLogin, m_home.path());
    engine().setProxy(m_storeA, socksProxy(socks, socksLogin));
    engine().setProxy(m_storeB, httpProxy(http, httpLogin));
    for (const auto& store : { m_storeA, m_storeB })
        webkit_network_session_allow_tls_certificate_for_host(
            engine().networkSession(store), certificate.get(), "127.0.0.1");
    TestWebView viewA(engine(), m_storeA);
    TestWebView viewB(engine(), m_storeB);
    TestWebView viewC(engine(), m_storeC);

    ASSERT_EQ(viewA.load(m_server.url("/a")), Outcome::Finished) << viewA.lastError();
    ASSERT_EQ(viewB.load(m_server.url("/b")), Outcome::Finished) << viewB.lastError();
    ASSERT_EQ(viewC.load(m_server.url("/c")), Outcome::Finished) << viewC.lastError();
    ASSERT_EQ(viewA.load(secure.url("/a")), Outcome::Finished) << viewA.lastError();
    ASSERT_EQ(viewB.load(secure.url("/b")), Outcome::Finished) << viewB.lastError();

    EXPECT_EQ(peerOf("/a"), socksAddress);
    EXPECT_EQ(peerOf("/b"), httpProxyAddress);
    EXPECT_THAT(m_server.requestsFor("/b").back().via, HasSubstr("tinyproxy"));
    EXPECT_GE(viewB.proxyLoginsAsked(), 1);
    EXPECT_EQ(peerOf("/c"), directAddress);
    ASSERT_EQ(secure.requestsFor("/a").size(), 1u);
    EXPECT_EQ(secure.requestsFor("/a").back().peer, socksAddress);
    ASSERT_EQ(secure.requestsFor("/b").size(), 1u);
    EXPECT_EQ(secure.requestsFor("/b").back().peer, httpProxyAddress);
}

// A proxy that is down or refuses the login fails the page; the request never goes out directly.
TEST_F(WebKitEngineProxyTest, AProxyThatCannotBeUsedFailsTheLoadInsteadOfGoingDirect)
{
    auto socks = ProxyProcess::socks5(socksAddress, socksLogin);
    auto http = ProxyProcess::http(httpProxyAddress, httpLogin, m_home.path());
    engine().setProxy(m_storeA, socksProxy(socks, { socksLogin.first, "wrong" }));
    engine().setProxy(m_storeB, httpProxy(http, { httpLogin.first, "wrong" }));
    TestWebView viewA(engine(), m_storeA);
    TestWebView viewB(engine(), m_storeB);

    EXPECT_EQ(viewA.load(m_server.url("/socks-refused")), Outcome::Failed);
    // The proxy's refusal is the page the view shows; the server never sees the request.
    EXPECT_NE(viewB.load(m_server.url("/http-refused")), Outcome::TimedOut);

    engine().setProxy(m_storeA, socksProxy(socks, socksLogin));
    socks.stop();
    EXPECT_EQ(viewA.load(m_server.url("/socks-down")), Outcome::Failed);

    // A host typed with its port must not make a broken proxy URI, which WebKit would ignore and go direct.
    engine().setProxy(
        m_storeC, ProxySettings{ ProxySettings::Kind::Socks5, "127.0.0.1:80", http.port(), none, none });
    TestWebView viewC(engine(), m_storeC);
    EXPECT_EQ(viewC.load(m_server.url("/malformed-host")), Outcome::Failed);

    EXPECT_EQ(peerOf("/socks-refused"), "(no request)");
    EXPECT_EQ(peerOf("/http-refused"), "(no request)");
    EXPECT_EQ(peerOf("/socks-down"), "(no request)");
    EXPECT_EQ(peerOf("/malformed-host"), "(no request)");
}

TEST_F(WebKitEngineProxyTest, ReplacingOrRemovingTheProxyTakesEffectForTheNextPage)
{
    auto socks = ProxyProcess::socks5(socksAddress, std::nullopt);
    auto http = ProxyProcess::http(httpProxyAddress, httpLogin, m_home.path());
    engine().setProxy(
        m_storeA, ProxySettings{ ProxySettings::Kind::Socks5, "127.0.0.1", socks.port(), none, none });
    {
        TestWebView view(engine(), m_storeA);
        ASSERT_EQ(view.load(m_server.url("/through-socks")), Outcome::Finished) << view.lastError();
    }

    engine().setProxy(m_storeA, httpProxy(http, httpLogin));
    {
        TestWebView view(engine(), m_storeA);
        ASSERT_EQ(view.load(m_server.url("/through-http")), Outcome::Finished) << view.lastError();
    }

    engine().setProxy(m_storeA, std::nullopt);
    {
        TestWebView view(engine(), m_storeA);
        ASSERT_EQ(view.load(m_server.url("/direct")), Outcome::Finished) << view.lastError();
    }

    EXPECT_EQ(peerOf("/through-socks"), socksAddress);
    EXPECT_EQ(peerOf("/through-http"), httpProxyAddress);
    EXPECT_EQ(peerOf("/direct"), directAddress);
}

// A session keeps the proxy login its pages made, even one the proxy refused; the pages made after the
// proxy was replaced get a session of their own, but never while an older page still uses the old one, and
// not at all while no login was made yet.
TEST_F(WebKitEngineProxyTest, ReplacingTheProxyAfterALoginGivesTheNextPageAFreshSessionOnceTheOldIsFree)
{
    auto http = ProxyProcess::http(httpProxyAddress, httpLogin, m_home.path());
    engine().setProxy(m_storeA, httpProxy(http, httpLogin));
    auto first = GObjectPtr<WebKitNetworkSession>::retain(engine().networkSession(m_storeA));
    engine().setProxy(m_storeA, httpProxy(http, { httpLogin.first, "wrong" }));
    EXPECT_EQ(engine().networkSession(m_storeA), first.get()) << "replaced before any login";
    {
        TestWebView refused(engine(), m_storeA);
        EXPECT_NE(refused.load(m_server.url("/refused")), Outcome::TimedOut);

        engine().setProxy(m_storeA, httpProxy(http, httpLogin));
        TestWebView alongside(engine(), m_storeA);
        EXPECT_EQ(engine().networkSession(m_storeA), first.get());
    }
    TestWebView corrected(engine(), m_storeA);
    ASSERT_EQ(corrected.load(m_server.url("/corrected")), Outcome::Finished) << corrected.lastError();

    EXPECT_NE(engine().networkSession(m_storeA), first.get());
    EXPECT_EQ(peerOf("/refused"), "(no request)");
    EXPECT_EQ(peerOf("/corrected"), httpProxyAddress);
}

// What the store learns after its page asked for the login, while the password was still being read.
enum class PasswordRead { Arrives, FindsNone, NeverAnswers };

struct WaitingLogin {
    const char* name;
    PasswordRead read;
    // Whether the page then reaches the server through the proxy.
    bool isLoaded;

    friend void PrintTo(const WaitingLogin& login, std::ostream* out) { *out << login.name; }
};

class WaitingProxyLoginTest : public WebKitEngineProxyTest,
                              public ::testing::WithParamInterface<WaitingLogin> {
protected:
    static constexpr std::chrono::milliseconds shortWait{ 500 };
};

TEST_P(WaitingProxyLoginTest, IsAnsweredOnceThePasswordReadEnds)
{
    restartEngine(shortWait);
    auto http = ProxyProcess::http(httpProxyAddress, httpLogin, m_home.path());
    auto settings = httpProxy(http, httpLogin);
    auto awaiting = settings;
    awaiting.password.reset();
    awaiting.awaitsPassword = true;
    engine().setProxy(m_storeA, awaiting);
    TestWebView view(engine(), m_storeA);

    view.startLoading(m_server.url("/waiting"));
    ASSERT_TRUE(runUntil([&] { return view.proxyLoginsAsked() >= 1; }));
    if (GetParam().read == PasswordRead::Arrives) {
        engine().setProxy(m_storeA, settings);
    } else if (GetParam().read == PasswordRead::FindsNone) {
        awaiting.awaitsPassword = false;
        engine().setProxy(m_storeA, awaiting);
    }
    auto outcome = view.waitForLoad();

    if (GetParam().isLoaded) {
        ASSERT_EQ(outcome, Outcome::Finished) << view.lastError();
        EXPECT_EQ(peerOf("/waiting"), httpProxyAddress);
    } else {
        EXPECT_NE(outcome, Outcome::TimedOut);
        EXPECT_EQ(peerOf("/waiting"), "(no request)");
    }
}

INSTANTIATE_TEST_SUITE_P(Reads, WaitingProxyLoginTest,
    ::testing::Values(WaitingLogin{ "PasswordArrives", PasswordRead::Arrives, true },
        WaitingLogin{ "NoPasswordStored", PasswordRead::FindsNone, false },
        WaitingLogin{ "KeyringNeverAnswers", PasswordRead::NeverAnswers, false }),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace cohortex
