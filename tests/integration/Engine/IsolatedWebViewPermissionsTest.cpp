#include "Fakes/FakeAuthenticator.h"
#include "Fakes/FakeDesktopNotifier.h"
#include "Fakes/SessionFakes.h"
#include "IsolatedWebViewFixture.h"
#include "Services/CommandTable.h"
#include "Services/PageNotifications.h"
#include "Services/Presentation.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Services/SitePermissions.h"
#include "Services/StoredKeys.h"
#include "Services/WorkspaceRuntime.h"

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

// Pages on the real engine with its stand-in camera and microphone; their notifications go through the
// application's notifications over a real session manager, whose commands a click on one runs.
class IsolatedWebViewPermissionsTest : public IsolatedWebViewFixture {
protected:
    void SetUp() override
    {
        IsolatedWebViewFixture::SetUp();
        m_permissions = std::make_unique<SitePermissions>(*m_defaults, m_queue);
        m_sitePermissions = m_permissions.get();
        auto list = encodeWorkspaceList(std::array{ m_work, m_other });
        m_defaults->setData(keys::workspaces, Bytes(list.begin(), list.end()));
        m_rules = std::make_unique<RoutingRules>(*m_defaults);
        m_sessions = std::make_unique<SessionManager>(SessionManager::Collaborators{
            m_queue, *m_defaults, m_runtime, m_stores, m_keychainFake, *m_rules, m_authenticator, m_window });
        m_notifications = std::make_unique<PageNotifications>(*m_sessions, m_runtime, m_notifier);
        m_pageNotifications = m_notifications.get();
        m_commands = std::make_unique<CommandTable>(CommandTable::Dependencies{
            *m_sessions, m_presentation, m_window, m_downloads, {}, m_notifications.get() });
    }
    void TearDown() override
    {
        closeViews();
        m_commands.reset();
        m_notifications.reset();
        m_sessions.reset();
        m_permissions.reset();
        IsolatedWebViewFixture::TearDown();
    }

    IsolatedWebView& pageOf(
        const WorkspaceSession& workspace, const std::string& path, std::optional<Uuid> tab = {})
    {
        auto configuration = this->configuration(m_server.url(path));
        configuration.workspaceId = workspace.id;
        configuration.tabId = tab.value_or(Uuid::random());
        configuration.workspaceName = [name = workspace.name] { return name; };
        configuration.onCaptureChange = [this](bool capturing) { m_captures.push_back(capturing); };
        auto& view = makeView(std::move(configuration));
        webkit_settings_set_enable_mock_capture_devices(webkit_web_view_get_settings(webView(view)), true);
        return view;
    }

    WorkspaceSession m_work{ m_workspaceID, "Work (Client A)", *Url::parse(m_server.url("/start")),
        std::nullopt, "briefcase", "#007AFF", 1, m_storeA, Date(100), Date(100) };
    WorkspaceSession m_other{ Uuid::random(), "Home", *Url::parse(m_server.url("/home")), std::nullopt,
        "house", "#FF9500", 2, Uuid::random(), Date(100), Date(100) };
    std::unique_ptr<SitePermissions> m_permissions;
    std::vector<bool> m_captures;
    testing::CallLog m_log;
    WorkspaceRuntime m_runtime{ nullptr };
    testing::FakeDataStores m_stores{ m_log };
    testing::FakeKeychain m_keychainFake{ m_log };
    std::unique_ptr<RoutingRules> m_rules;
    testing::FakeAuthenticator m_authenticator;
    testing::FakeWindowHost m_window;
    Presentation m_presentation{ m_queue };
    testing::FakeDesktopNotifier m_notifier;
    std::unique_ptr<SessionManager> m_sessions;
    std::unique_ptr<PageNotifications> m_notifications;
    std::unique_ptr<CommandTable> m_commands;
};

// The answer is kept per workspace and site (the unit tests of the site permissions prove how): another
// workspace on the same site is asked again.
TEST_F(IsolatedWebViewPermissionsTest, APageAsksForItsWorkspaceGetsTheAnswerAndANotificationClickShowsItsTab)
{
    m_sessions->openWorkspace(m_work);
    ASSERT_TRUE(runUntil([&] { return m_runtime.isLoaded(m_workspaceID); }));
    auto pageTab = *m_runtime.newTab(m_workspaceID, *Url::parse(m_server.url("/chat")));
    m_runtime.newTab(m_workspaceID, *Url::parse(m_server.url("/other")));
    m_sessions->openWorkspace(m_other);
    ASSERT_TRUE(runUntil([&] { return m_sessions->activeWorkspaceId().get() == m_other.id; }));

    auto& view = pageOf(m_work, "/chat", pageTab);
    ASSERT_TRUE(loaded(view, "/chat"));
    runScript(view, startCall("call"));
    ASSERT_TRUE(runUntil([] { return openMessageDialog() != nullptr; }));
    EXPECT_STREQ(adw_message_dialog_get_heading(openMessageDialog()),
        "Allow Work (Client A) to use your camera and microphone on 127.0.0.1?");
    answerQuestion("allow");
    EXPECT_TRUE(showsTitle(view, "call granted")) << title(view);
    // The runtime learns of the call, as it does of any page using the camera.
    EXPECT_TRUE(runUntil([&] { return !m_captures.empty() && m_captures.back(); }));

    runScript(view,
        "document.title = 'Chat'; Notification.requestPermission().then(answer => {"
        " const shown = new Notification('Bob', { body: 'Lunch?' });"
        " shown.onclick = () => document.title = 'clicked'; })");
    ASSERT_TRUE(runUntil([] { return openMessageDialog() != nullptr; }));
    answerQuestion("allow");
    ASSERT_TRUE(runUntil([&] { return !m_notifier.sent.empty(); }));
    const auto& sent = m_notifier.sent.back();
    EXPECT_EQ(sent.body, "Bob\nLunch?");
    EXPECT_TRUE(m_commands->run(sent.defaultCommandName, sent.commandArgument));
    EXPECT_TRUE(runUntil([&] { return m_sessions->activeWorkspaceId().get() == m_workspaceID; }));
    EXPECT_EQ(m_runtime.activeTab(m_workspaceID)->id, pageTab);
    EXPECT_TRUE(runUntil([&] { return title(view) == "clicked"; })) << title(view);

    m_captures.clear();
    auto& other = pageOf(m_other, "/call");
    ASSERT_TRUE(loaded(other, "/call"));
    runScript(other, startCall("other"));
    ASSERT_TRUE(runUntil([] { return openMessageDialog() != nullptr; }));
    answerQuestion("deny");
    EXPECT_TRUE(showsTitle(other, "other refused NotAllowedError")) << title(other);
    EXPECT_TRUE(std::ranges::none_of(m_captures, [](bool capturing) { return capturing; }));
}

} // namespace
} // namespace cohortex
