#include "IsolatedWebViewFixture.h"

#include <csignal>

namespace cohortex {
namespace {

using IsolatedWebViewFailureTest = IsolatedWebViewFixture;

TEST_F(IsolatedWebViewFailureTest, AnUnreachableServerSaysWhyAndTryAgainLoadsTheSiteOnceItIsBack)
{
    unsigned port = 0;
    {
        TestHttpServer gone;
        port = gone.port();
    }
    const auto address = "http://127.0.0.1:" + std::to_string(port) + "/inbox";
    auto& refused = makeView(address);
    auto& unknown = makeView("http://cohortex-test.invalid/");
    ASSERT_TRUE(showsTitle(refused, "Can't connect to the server")) << title(refused);
    EXPECT_TRUE(showsTitle(unknown, "Can't find the server")) << title(unknown);
    EXPECT_EQ(webkit_web_view_get_uri(webView(refused)), address)
        << "The address bar must keep the address that failed";

    TestHttpServer back({ .port = port, .certificate = nullptr });
    click(refused, "a.button");
    EXPECT_TRUE(showsTitle(refused, "test")) << title(refused);
    EXPECT_EQ(back.requestsFor("/inbox").size(), 1u);
}

TEST_F(IsolatedWebViewFailureTest, ABadCertificateLoadsNothingUntilTheUserLetsItThroughForThatWorkspace)
{
    GErrorPtr error;
    GObjectPtr<GTlsCertificate> certificate(
        g_tls_certificate_new_from_file(COHORTEX_TEST_CERTIFICATE, error.out()));
    ASSERT_TRUE(certificate) << error.message();
    TestHttpServer secure({ .port = 0, .certificate = certificate.get() });

    auto& view = makeView(secure.url("/account"));
    ASSERT_TRUE(showsTitle(view, "Connection isn't private")) << title(view);
    // A page cannot let a certificate through by guessing the way past.
    runScript(view, "location.href = 'cohortex-page-action:guess/allow-certificate'");
    runFor(std::chrono::milliseconds(500));
    EXPECT_TRUE(secure.requestsFor("/account").empty());

    click(view, "details a");
    ASSERT_TRUE(showsTitle(view, "test")) << title(view);
    EXPECT_EQ(secure.requestsFor("/account").size(), 1u);
    auto other = configuration(secure.url("/account"));
    other.storageIdentifier = m_storeB;
    auto& otherWorkspace = makeView(std::move(other));
    EXPECT_TRUE(showsTitle(otherWorkspace, "Connection isn't private")) << title(otherWorkspace);
}

TEST_F(IsolatedWebViewFailureTest, AKilledWebProcessShowsThatThePageStoppedAndReloadBringsItBack)
{
    auto& view = makeView(m_server.url("/chat"));
    ASSERT_TRUE(loaded(view, "/chat"));
    auto pids = processes(1);
    ASSERT_EQ(pids.size(), 1u);
    ::kill(*pids.begin(), SIGKILL);
    ASSERT_TRUE(showsTitle(view, "This page stopped")) << title(view);

    click(view, "a.button");
    EXPECT_TRUE(showsTitle(view, "test")) << title(view);
    EXPECT_EQ(m_server.requestsFor("/chat").size(), 2u);
}

} // namespace
} // namespace cohortex
