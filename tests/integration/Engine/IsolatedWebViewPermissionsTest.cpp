#include "IsolatedWebViewFixture.h"
#include "Services/SitePermissions.h"

#include <algorithm>

namespace cohortex {
namespace {

// The page writes how its request ended into its title, after the attempt's label.
std::string startCall(const std::string& label)
{
    return "navigator.mediaDevices.getUserMedia({ video: true, audio: true }).then(() => document.title = '"
        + label + " granted', error => document.title = '" + label + " refused ' + error.name)";
}

// As a click on one of its buttons does: the dialog answers, then closes.
void answerQuestion(const char* response)
{
    auto* dialog = openMessageDialog();
    adw_message_dialog_response(dialog, response);
    gtk_window_close(GTK_WINDOW(dialog));
}

// Pages on the real engine with its stand-in camera and microphone.
class IsolatedWebViewPermissionsTest : public IsolatedWebViewFixture {
protected:
    void SetUp() override
    {
        IsolatedWebViewFixture::SetUp();
        m_permissions = std::make_unique<SitePermissions>(*m_defaults, m_queue);
        m_sitePermissions = m_permissions.get();
    }
    void TearDown() override
    {
        closeViews();
        m_permissions.reset();
        IsolatedWebViewFixture::TearDown();
    }

    IsolatedWebView& pageOf(const Uuid& workspace, const std::string& name, const std::string& path)
    {
        auto configuration = this->configuration(m_server.url(path));
        configuration.workspaceId = workspace;
        configuration.workspaceName = [name] { return name; };
        configuration.onCaptureChange = [this](bool capturing) { m_captures.push_back(capturing); };
        auto& view = makeView(std::move(configuration));
        webkit_settings_set_enable_mock_capture_devices(webkit_web_view_get_settings(webView(view)), true);
        return view;
    }

    std::unique_ptr<SitePermissions> m_permissions;
    std::vector<bool> m_captures;
};

// The answer is kept per workspace and site (the unit tests of the site permissions prove how): another
// workspace on the same site is asked again.
TEST_F(IsolatedWebViewPermissionsTest, APageAsksInTheNameOfItsWorkspaceAndAnotherWorkspaceIsAskedAgain)
{
    auto& view = pageOf(m_workspaceID, "Work (Client A)", "/chat");
    ASSERT_TRUE(loaded(view, "/chat"));
    runScript(view, startCall("call"));
    ASSERT_TRUE(runUntil([] { return openMessageDialog() != nullptr; }));
    EXPECT_STREQ(adw_message_dialog_get_heading(openMessageDialog()),
        "Allow Work (Client A) to use your camera and microphone on 127.0.0.1?");
    answerQuestion("allow");
    EXPECT_TRUE(showsTitle(view, "call granted")) << title(view);
    // The runtime learns of the call, as it does of any page using the camera.
    EXPECT_TRUE(runUntil([&] { return !m_captures.empty() && m_captures.back(); }));

    m_captures.clear();
    auto& other = pageOf(Uuid::random(), "Home", "/call");
    ASSERT_TRUE(loaded(other, "/call"));
    runScript(other, startCall("other"));
    ASSERT_TRUE(runUntil([] { return openMessageDialog() != nullptr; }));
    answerQuestion("deny");
    EXPECT_TRUE(showsTitle(other, "other refused NotAllowedError")) << title(other);
    EXPECT_TRUE(std::ranges::none_of(m_captures, [](bool capturing) { return capturing; }));
}

} // namespace
} // namespace cohortex
