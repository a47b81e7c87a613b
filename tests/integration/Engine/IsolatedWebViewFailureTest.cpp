#include "IsolatedWebViewFixture.h"

#include <csignal>

namespace cohortex {
namespace {

using IsolatedWebViewFailureTest = IsolatedWebViewFixture;

// The warning is the only way past a bad certificate: a page cannot guess its way through, and letting
// it through holds for that workspace alone.
TEST_F(IsolatedWebViewFailureTest, ABadCertificateLoadsNothingUntilTheUserLetsItThroughForThatWorkspace)
{
    GErrorPtr error;
    GObjectPtr<GTlsCertificate> certificate(
        g_tls_certificate_new_from_file(COHORTEX_TEST_CERTIFICATE, error.out()));
    ASSERT_TRUE(certificate) << error.message();
    TestHttpServer secure({ .port = 0, .certificate = certificate.get() });

    auto& view = makeView(secure.url("/account"));
    ASSERT_TRUE(showsTitle(view, "Connection isn't private")) << title(view);
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
