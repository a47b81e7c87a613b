#include "IsolatedWebViewFixture.h"

#include <csignal>

namespace cohortex {
namespace {

class IsolatedWebViewFailureTest : public IsolatedWebViewFixture {
protected:
    [[nodiscard]] bool showsTitle(const IsolatedWebView& view, const std::string& expected)
    {
        return runUntil([&] {
            const char* title = webkit_web_view_get_title(webView(view));
            return title && title == expected && !webkit_web_view_is_loading(webView(view));
        });
    }
    std::string titleOf(const IsolatedWebView& view)
    {
        const char* title = webkit_web_view_get_title(webView(view));
        return title ? title : "(none)";
    }
    static void press(const IsolatedWebView& view, const std::string& selector)
    {
        runScript(view, "document.querySelector('" + selector + "').click()");
    }
};

TEST_F(IsolatedWebViewFailureTest, ARefusedConnectionSaysSoAndTryAgainLoadsTheSiteOnceItIsBack)
{
    unsigned port = 0;
    {
        TestHttpServer gone;
        port = gone.port();
    }
    auto& view = makeView("http://127.0.0.1:" + std::to_string(port) + "/inbox");
    ASSERT_TRUE(showsTitle(view, "Can't connect to the server")) << titleOf(view);
    EXPECT_STREQ(webkit_web_view_get_uri(webView(view)),
        ("http://127.0.0.1:" + std::to_string(port) + "/inbox").c_str())
        << "The address bar must keep the address that failed";

    TestHttpServer back({ .port = port, .certificate = nullptr });
    press(view, "a.button");
    EXPECT_TRUE(showsTitle(view, "test")) << titleOf(view);
    EXPECT_EQ(back.requestsFor("/inbox").size(), 1u);
}

TEST_F(IsolatedWebViewFailureTest, AnUnknownHostSaysSo)
{
    auto& view = makeView("http://cohortex-test.invalid/");
    EXPECT_TRUE(showsTitle(view, "Can't find the server")) << titleOf(view);
}

TEST_F(IsolatedWebViewFailureTest, ABadCertificateLoadsNothingUntilTheUserLetsItThroughForThatWorkspace)
{
    GErrorPtr error;
    GObjectPtr<GTlsCertificate> certificate(
        g_tls_certificate_new_from_file(COHORTEX_TEST_CERTIFICATE, error.out()));
    ASSERT_TRUE(certificate) << error.message();
    TestHttpServer secure({ .port = 0, .certificate = certificate.get() });

    auto& view = makeView(secure.url("/account"));
    ASSERT_TRUE(showsTitle(view, "Connection isn't private")) << titleOf(view);
    EXPECT_TRUE(secure.requestsFor("/account").empty());
    // A page cannot let a certificate through by guessing the way past.
    runScript(view, "location.href = 'cohortex-page-action:guess/allow-certificate'");
    runFor(std::chrono::milliseconds(500));
    EXPECT_TRUE(secure.requestsFor("/account").empty());

    press(view, "details a");
    ASSERT_TRUE(showsTitle(view, "test")) << titleOf(view);
    EXPECT_EQ(secure.requestsFor("/account").size(), 1u);

    auto other = configuration(secure.url("/account"));
    other.storageIdentifier = m_storeB;
    auto& otherWorkspace = makeView(std::move(other));
    EXPECT_TRUE(showsTitle(otherWorkspace, "Connection isn't private")) << titleOf(otherWorkspace);
}

TEST_F(IsolatedWebViewFailureTest, AKilledWebProcessShowsThatThePageStoppedAndReloadBringsItBack)
{
    auto& view = makeView(m_server.url("/chat"));
    ASSERT_TRUE(loaded(view, "/chat"));
    ASSERT_TRUE(runUntil([&] {
        m_registry.measure();
        return !m_memory.measured.empty();
    }));
    ::kill(*m_memory.measured.begin(), SIGKILL);
    ASSERT_TRUE(showsTitle(view, "This page stopped")) << titleOf(view);

    press(view, "a.button");
    EXPECT_TRUE(showsTitle(view, "test")) << titleOf(view);
    EXPECT_EQ(m_server.requestsFor("/chat").size(), 2u);
}

} // namespace
} // namespace cohortex
