#include "EngineTest.h"
#include "Platform/Linux/GLibPtr.h"
#include "ProxyProcess.h"
#include "TestWebView.h"

namespace cohortex {
namespace {

using Outcome = TestWebView::Outcome;
using Kind = ProxySettings::Kind;
constexpr auto none = std::nullopt;

// Each proxy connects onwards from its own loopback address, so the server's peer address says which
// way a request came: directly from 127.0.0.1, or through one of the proxies.
constexpr const char* directAddress = "127.0.0.1";
constexpr const char* socksAddress = "127.0.0.2";
constexpr const char* httpProxyAddress = "127.0.0.3";

// Characters that must be escaped in a proxy URI, so that a login only works when it is encoded.
const ProxyProcess::Login socksLogin{ "socks user", "p@ss:w/rd %41" };
const ProxyProcess::Login httpLogin{ "webuser", "s3cret" };

ProxySettings through(Kind kind, const ProxyProcess& proxy, const ProxyProcess::Login& login)
{
    return { kind, "127.0.0.1", proxy.port(), login.first, login.second };
}

using WebKitEngineProxyTest = EngineTest;

// Secure pages travel inside the proxy's tunnel (CONNECT, or SOCKS) and still leave from its address.
TEST_F(WebKitEngineProxyTest, EachStoreReachesTheServerOnlyThroughItsOwnProxyUntilItIsReplacedOrRemoved)
{
    GErrorPtr error;
    GObjectPtr<GTlsCertificate> certificate(
        g_tls_certificate_new_from_file(COHORTEX_TEST_CERTIFICATE, error.out()));
    ASSERT_TRUE(certificate) << error.message();
    TestHttpServer secure({ .port = 0, .certificate = certificate.get() });
    auto socks = ProxyProcess::socks5(socksAddress, socksLogin);
    auto http = ProxyProcess::http(httpProxyAddress, httpLogin, m_home.path());
    engine().setProxy(m_storeA, through(Kind::Socks5, socks, socksLogin));
    engine().setProxy(m_storeB, through(Kind::HttpConnect, http, httpLogin));
    for (const auto& store : { m_storeA, m_storeB })
        webkit_network_session_allow_tls_certificate_for_host(
            engine().networkSession(store), certificate.get(), "127.0.0.1");
    {
        TestWebView viewA(engine(), m_storeA);
        TestWebView viewB(engine(), m_storeB);
        TestWebView viewC(engine(), Uuid::random());
        ASSERT_EQ(viewA.load(m_server.url("/a")), Outcome::Finished) << viewA.lastError();
        ASSERT_EQ(viewB.load(m_server.url("/b")), Outcome::Finished) << viewB.lastError();
        ASSERT_EQ(viewC.load(m_server.url("/c")), Outcome::Finished) << viewC.lastError();
        ASSERT_EQ(viewA.load(secure.url("/a")), Outcome::Finished) << viewA.lastError();
        ASSERT_EQ(viewB.load(secure.url("/b")), Outcome::Finished) << viewB.lastError();
        EXPECT_GE(viewB.proxyLoginsAsked(), 1);
    }
    EXPECT_EQ(peerOf("/a"), socksAddress);
    EXPECT_EQ(peerOf("/b"), httpProxyAddress);
    EXPECT_EQ(peerOf("/c"), directAddress);
    EXPECT_EQ(secure.requestsFor("/a").at(0).peer, socksAddress);
    EXPECT_EQ(secure.requestsFor("/b").at(0).peer, httpProxyAddress);

    engine().setProxy(m_storeA, through(Kind::HttpConnect, http, httpLogin));
    {
        TestWebView view(engine(), m_storeA);
        ASSERT_EQ(view.load(m_server.url("/replaced")), Outcome::Finished) << view.lastError();
    }
    engine().setProxy(m_storeA, std::nullopt);
    TestWebView view(engine(), m_storeA);
    ASSERT_EQ(view.load(m_server.url("/removed")), Outcome::Finished) << view.lastError();
    EXPECT_EQ(peerOf("/replaced"), httpProxyAddress);
    EXPECT_EQ(peerOf("/removed"), directAddress);
}

// A proxy that is down or refuses the login fails the page; the request never goes out directly.
TEST_F(WebKitEngineProxyTest, AProxyThatCannotBeUsedFailsTheLoadInsteadOfGoingDirect)
{
    auto socks = ProxyProcess::socks5(socksAddress, socksLogin);
    auto http = ProxyProcess::http(httpProxyAddress, httpLogin, m_home.path());
    engine().setProxy(m_storeA, through(Kind::Socks5, socks, { socksLogin.first, "wrong" }));
    engine().setProxy(m_storeB, through(Kind::HttpConnect, http, { httpLogin.first, "wrong" }));
    // A host typed with its port must not make a broken proxy URI, which WebKit would ignore and go direct;
    // a proxy that cannot be reached at all (a stored port past 65535) must not let the page go direct
    // either.
    const Uuid storeC = Uuid::random();
    const Uuid storeD = Uuid::random();
    engine().setProxy(storeC, ProxySettings{ Kind::Socks5, "127.0.0.1:80", http.port(), none, none });
    engine().setProxy(storeD, ProxySettings{ Kind::Unusable, "", 0, none, none });
    TestWebView viewA(engine(), m_storeA);
    TestWebView viewB(engine(), m_storeB);
    TestWebView viewC(engine(), storeC);

    EXPECT_EQ(viewA.load(m_server.url("/socks-refused")), Outcome::Failed);
    // The proxy's refusal is the page the view shows; the server never sees the request.
    EXPECT_NE(viewB.load(m_server.url("/http-refused")), Outcome::TimedOut);
    EXPECT_EQ(viewC.load(m_server.url("/malformed-host")), Outcome::Failed);
    TestWebView viewD(engine(), storeD);
    EXPECT_EQ(viewD.load(m_server.url("/unusable")), Outcome::Failed);
    engine().setProxy(m_storeA, through(Kind::Socks5, socks, socksLogin));
    socks.stop();
    EXPECT_EQ(viewA.load(m_server.url("/socks-down")), Outcome::Failed);

    for (const auto* path :
        { "/socks-refused", "/http-refused", "/socks-down", "/malformed-host", "/unusable" })
        EXPECT_EQ(peerOf(path), "(no request)") << path;
}

// A page's request for the login waits while the password is read, and is answered once the read ends:
// with the password that arrived, or declined when none is stored.
TEST_F(WebKitEngineProxyTest, ALoginAskedForWhileThePasswordIsReadIsAnsweredOnceTheReadEnds)
{
    auto http = ProxyProcess::http(httpProxyAddress, httpLogin, m_home.path());
    auto settings = through(Kind::HttpConnect, http, httpLogin);
    auto awaiting = settings;
    awaiting.password.reset();
    awaiting.awaitsPassword = true;
    engine().setProxy(m_storeA, awaiting);
    engine().setProxy(m_storeB, awaiting);
    TestWebView viewA(engine(), m_storeA);
    TestWebView viewB(engine(), m_storeB);
    viewA.startLoading(m_server.url("/arrived"));
    viewB.startLoading(m_server.url("/none-stored"));
    ASSERT_TRUE(runUntil([&] { return viewA.proxyLoginsAsked() > 0 && viewB.proxyLoginsAsked() > 0; }));
    engine().setProxy(m_storeA, settings);
    awaiting.awaitsPassword = false;
    engine().setProxy(m_storeB, awaiting);

    ASSERT_EQ(viewA.waitForLoad(), Outcome::Finished) << viewA.lastError();
    EXPECT_EQ(peerOf("/arrived"), httpProxyAddress);
    EXPECT_NE(viewB.waitForLoad(), Outcome::TimedOut);
    EXPECT_EQ(peerOf("/none-stored"), "(no request)");
}

} // namespace
} // namespace cohortex
