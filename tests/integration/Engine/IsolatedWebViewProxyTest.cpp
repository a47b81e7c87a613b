#include "IsolatedWebViewFixture.h"
#include "Models/UnusableProxyPage.h"
#include "ProxyProcess.h"

namespace cohortex {
namespace {

// The proxy connects onwards from an address of its own, so the server's peer address shows the way.
constexpr const char* socksAddress = "127.0.0.2";
const ProxyProcess::Login proxyLogin{ "webuser", "s3cret" };

using IsolatedWebViewProxyTest = IsolatedWebViewFixture;

// A stored port past 65535 lists the workspace as behind a proxy that cannot be reached: it must not go
// online directly. Its tabs say why, and a load asked for all the same reaches nothing.
TEST_F(IsolatedWebViewProxyTest, AWorkspaceWithAnUnusableProxyLoadsNothingAndSaysWhy)
{
    auto record = workspaceBehind(0, proxyLogin.first);
    record.proxyPort = 70000;
    record.proxyUsername.reset();
    m_manager->refreshProxy(record);

    auto told = configuration(m_server.url("/told"));
    told.pageInstead = unusableProxyPage(record);
    auto& notice = makeView(std::move(told));
    ASSERT_TRUE(runUntil([&] { return title(notice) == unusableProxyTitle; }));
    auto& direct = makeView(m_server.url("/direct"));
    int finishedLoads = 0;
    g_signal_connect(webView(direct), "load-changed",
        G_CALLBACK(+[](WebKitWebView*, WebKitLoadEvent event, int* count) {
            *count += event == WEBKIT_LOAD_FINISHED;
        }),
        &finishedLoads);
    ASSERT_TRUE(runUntil([&] { return finishedLoads >= 1; }));
    EXPECT_EQ(peerOf("/told"), "(no request)");
    EXPECT_EQ(peerOf("/direct"), "(no request)");
}

// A SOCKS proxy takes its login with the connection and asks for none, so the page itself waits for the
// password from the keyring. (An HTTP proxy asks the view, whose waiting the engine's tests prove.)
TEST_F(IsolatedWebViewProxyTest, APageBehindASocksLoginWaitsForThePasswordFromTheKeyring)
{
    auto socks = ProxyProcess::socks5(socksAddress, proxyLogin);
    ASSERT_NO_FATAL_FAILURE(storeProxyPassword(proxyLogin.second));
    m_secrets.holdsAnswers = true;
    m_manager->refreshProxy(workspaceBehind(socks.port(), proxyLogin.first, "socks5"));
    auto& view = makeView(m_server.url("/socks"));
    runFor(std::chrono::milliseconds(300));
    EXPECT_EQ(peerOf("/socks"), "(no request)");

    m_secrets.answerNext();
    ASSERT_TRUE(loaded(view, "/socks"));
    EXPECT_EQ(peerOf("/socks"), socksAddress);
}

} // namespace
} // namespace cohortex
