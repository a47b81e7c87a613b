#include "IsolatedWebViewFixture.h"
#include "Models/UnusableProxyPage.h"
#include "ProxyProcess.h"
#include "Services/Keychain.h"

namespace cohortex {
namespace {

// The proxy connects onwards from an address of its own, so the server's peer address shows the way.
constexpr const char* proxyAddress = "127.0.0.3";
constexpr const char* socksAddress = "127.0.0.2";
const ProxyProcess::Login proxyLogin{ "webuser", "s3cret" };

// The tab's own view hands its proxy's request for a login to the store, and loads its first page only
// once the store's session is ready.
class IsolatedWebViewProxyTest : public IsolatedWebViewFixture {
protected:
    WorkspaceSession workspaceBehind(const ProxyProcess& proxy, const char* type = "http") const
    {
        WorkspaceSession record(m_workspaceID, "mail", *Url::parse(m_server.url("/")), std::nullopt, "globe",
            "#000000", 1, m_storeA, Date(0), Date(0));
        record.proxyType = type;
        record.proxyHost = "127.0.0.1";
        record.proxyPort = proxy.port();
        record.proxyUsername = proxyLogin.first;
        return record;
    }

    void storeProxyPassword(const std::string& password)
    {
        auto stored = m_keychain.set(password, proxyPasswordKey(m_workspaceID.string()));
        ASSERT_TRUE(finishes(stored));
        ASSERT_TRUE(stored.result());
    }

    static void countFinishedLoads(WebKitWebView*, WebKitLoadEvent event, gpointer count)
    {
        if (event == WEBKIT_LOAD_FINISHED)
            ++*static_cast<int*>(count);
    }

    // tinyproxy answers a wrong login with 401, which reaches the view as the site asking for a login;
    // WebKit's own dialog would then wait for the user, who declines.
    static gboolean declineSiteLogin(WebKitWebView*, WebKitAuthenticationRequest* request, gpointer)
    {
        webkit_authentication_request_cancel(request);
        return true;
    }
};

// A stored port past 65535 lists the workspace as behind a proxy that cannot be reached: it must not go
// online directly. Its tabs say why, and a load asked for all the same reaches nothing.
TEST_F(IsolatedWebViewProxyTest, AWorkspaceWithAnUnusableProxyLoadsNothingAndSaysWhy)
{
    WorkspaceSession record(m_workspaceID, "mail", *Url::parse(m_server.url("/")), std::nullopt, "globe",
        "#000000", 1, m_storeA, Date(0), Date(0));
    record.proxyType = "http";
    record.proxyHost = "127.0.0.1";
    record.proxyPort = 70000;
    m_manager->refreshProxy(record);

    auto told = configuration(m_server.url("/told"));
    told.pageInstead = unusableProxyPage(record);
    auto& notice = makeView(std::move(told));
    ASSERT_TRUE(runUntil([&] {
        auto* title = webkit_web_view_get_title(webView(notice));
        return title && std::string(title) == unusableProxyTitle;
    }));

    int finishedLoads = 0;
    auto& direct = makeView(m_server.url("/direct"));
    g_signal_connect(webView(direct), "load-changed", G_CALLBACK(countFinishedLoads), &finishedLoads);
    ASSERT_TRUE(runUntil([&] { return finishedLoads >= 1; }));
    EXPECT_EQ(peerOf("/told"), "(no request)");
    EXPECT_EQ(peerOf("/direct"), "(no request)");
}

// As the workspace's settings do it: the corrected password is applied, then the workspace's pages are
// closed and made again.
TEST_F(IsolatedWebViewProxyTest, ThePagesMadeAfterACorrectedPasswordLogInWithItAndKeepTheUsersSession)
{
    auto proxy = ProxyProcess::http(proxyAddress, proxyLogin, m_home.path());
    auto record = workspaceBehind(proxy);
    ASSERT_NO_FATAL_FAILURE(storeProxyPassword("wrong"));
    m_manager->refreshProxy(record);
    setCookie(
        m_storeA, { "sid", "kept", "127.0.0.1", "/", std::nullopt, false, true, HttpCookie::SameSite::Lax });
    int finishedLoads = 0;
    auto& refused = makeView(m_server.url("/refused"));
    g_signal_connect(webView(refused), "load-changed", G_CALLBACK(countFinishedLoads), &finishedLoads);
    g_signal_connect(webView(refused), "authenticate", G_CALLBACK(declineSiteLogin), nullptr);
    ASSERT_TRUE(runUntil([&] { return finishedLoads >= 1; }));

    ASSERT_NO_FATAL_FAILURE(storeProxyPassword(proxyLogin.second));
    m_manager->refreshProxy(record);
    closeView(0);
    auto& corrected = makeView(m_server.url("/corrected"));

    ASSERT_TRUE(loaded(corrected, "/corrected"));
    EXPECT_EQ(peerOf("/refused"), "(no request)");
    EXPECT_EQ(peerOf("/corrected"), proxyAddress);
    EXPECT_EQ(cookieSentFor("/corrected"), "sid=kept");
}

// A SOCKS proxy takes its login with the connection and asks for none, so there is nothing to hold when
// the keyring answers late: the page itself waits for the password.
TEST_F(IsolatedWebViewProxyTest, APageBehindASocksLoginWaitsForThePasswordFromTheKeyring)
{
    auto proxy = ProxyProcess::socks5(socksAddress, proxyLogin);
    ASSERT_NO_FATAL_FAILURE(storeProxyPassword(proxyLogin.second));
    m_secrets.holdsAnswers = true;
    m_manager->refreshProxy(workspaceBehind(proxy, "socks5"));
    auto& view = makeView(m_server.url("/early"));
    runFor(std::chrono::milliseconds(300));
    EXPECT_EQ(peerOf("/early"), "(no request)");

    m_secrets.answerNext();
    ASSERT_TRUE(loaded(view, "/early"));
    EXPECT_EQ(peerOf("/early"), socksAddress);
}

} // namespace
} // namespace cohortex
