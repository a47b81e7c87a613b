#include "IsolatedWebViewFixture.h"
#include "ProxyProcess.h"

namespace cohortex {
namespace {

// The proxy connects onwards from an address of its own, so the server's peer address shows the way.
constexpr const char* socksAddress = "127.0.0.2";
const ProxyProcess::Login proxyLogin{ "webuser", "s3cret" };

using IsolatedWebViewProxyTest = IsolatedWebViewFixture;

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
