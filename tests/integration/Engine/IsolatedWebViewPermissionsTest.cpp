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

// Pages on the real engine with its stand-in camera and microphone, asking through the site permissions
// kept in the test's defaults database.
class IsolatedWebViewPermissionsTest : public IsolatedWebViewFixture {
protected:
    void SetUp() override
    {
        IsolatedWebViewFixture::SetUp();
        reopenPermissions();
    }

    // What the next launch reads from the same database.
    void reopenPermissions()
    {
        m_permissions = std::make_unique<SitePermissions>(*m_defaults, m_queue);
        m_sitePermissions = m_permissions.get();
    }

    IsolatedWebView& callPage(const Uuid& workspaceId, std::string workspaceName)
    {
        auto configuration = this->configuration(m_server.url("/call"));
        configuration.workspaceId = workspaceId;
        configuration.workspaceName = [workspaceName] { return workspaceName; };
        configuration.onCaptureChange = [this](bool capturing) { m_captures.push_back(capturing); };
        auto& view = makeView(std::move(configuration));
        webkit_settings_set_enable_mock_capture_devices(webkit_web_view_get_settings(webView(view)), true);
        return view;
    }

    [[nodiscard]] bool titleBecomes(const IsolatedWebView& view, const std::string& expected)
    {
        return runUntil([&] {
            const char* title = webkit_web_view_get_title(webView(view));
            return title && title == expected;
        });
    }

    // As a click on one of its buttons does: the dialog answers, then closes.
    static void answerQuestion(const char* response)
    {
        auto* dialog = openMessageDialog();
        adw_message_dialog_response(dialog, response);
        gtk_window_close(GTK_WINDOW(dialog));
    }

    static std::string title(const IsolatedWebView& view)
    {
        const char* title = webkit_web_view_get_title(webView(view));
        return title ? title : "(none)";
    }

    std::unique_ptr<SitePermissions> m_permissions;
    std::vector<bool> m_captures;
};

// The answer is kept per workspace and site: another workspace on the same site is asked again.
TEST_F(IsolatedWebViewPermissionsTest, ACallAsksOnceForItsWorkspaceAndTheAnswerOutlivesTheViewAndTheRun)
{
    auto& first = callPage(m_workspaceID, "Work (Client A)");
    ASSERT_TRUE(loaded(first, "/call"));
    runScript(first, startCall("first"));
    ASSERT_TRUE(runUntil([] { return openMessageDialog() != nullptr; }));
    EXPECT_STREQ(adw_message_dialog_get_heading(openMessageDialog()),
        "Allow Work (Client A) to use your camera and microphone on 127.0.0.1?");
    answerQuestion("allow");
    EXPECT_TRUE(titleBecomes(first, "first granted")) << title(first);
    // The runtime learns of the call, as it does of any page using the camera.
    EXPECT_TRUE(runUntil([&] { return !m_captures.empty() && m_captures.back(); }));

    closeView(0);
    reopenPermissions();
    auto& again = callPage(m_workspaceID, "Work (Client A)");
    ASSERT_TRUE(loaded(again, "/call", 2));
    runScript(again, startCall("again"));
    EXPECT_TRUE(titleBecomes(again, "again granted")) << title(again);
    EXPECT_EQ(openMessageDialog(), nullptr);
    closeView(0);

    m_captures.clear();
    auto& other = callPage(Uuid::random(), "Home");
    ASSERT_TRUE(loaded(other, "/call", 3));
    runScript(other, startCall("other"));
    ASSERT_TRUE(runUntil([] { return openMessageDialog() != nullptr; }));
    EXPECT_STREQ(adw_message_dialog_get_heading(openMessageDialog()),
        "Allow Home to use your camera and microphone on 127.0.0.1?");
    answerQuestion("deny");
    EXPECT_TRUE(titleBecomes(other, "other refused NotAllowedError")) << title(other);
    runScript(other, startCall("refused"));
    EXPECT_TRUE(titleBecomes(other, "refused refused NotAllowedError")) << title(other);
    EXPECT_EQ(openMessageDialog(), nullptr);
    EXPECT_TRUE(std::ranges::none_of(m_captures, [](bool capturing) { return capturing; }));
}

// A page's notification goes to the desktop through the application's notifications, and a click on it
// runs the command that brings its workspace and tab forward, over a real session manager.
class IsolatedWebViewNotificationTest : public IsolatedWebViewPermissionsTest {
protected:
    void SetUp() override
    {
        IsolatedWebViewPermissionsTest::SetUp();
        auto work = WorkspaceSession(m_workspaceID, "Work (Client A)", *Url::parse(m_server.url("/start")),
            std::nullopt, "briefcase", "#007AFF", 1, m_storeA, Date(100), Date(100));
        auto home = WorkspaceSession(Uuid::random(), "Home", *Url::parse(m_server.url("/home")), std::nullopt,
            "house", "#FF9500", 2, Uuid::random(), Date(100), Date(100));
        auto list = encodeWorkspaceList(std::array{ work, home });
        m_defaults->setData(keys::workspaces, Bytes(list.begin(), list.end()));
        m_rules = std::make_unique<RoutingRules>(*m_defaults);
        m_sessions = std::make_unique<SessionManager>(SessionManager::Collaborators{
            m_queue, *m_defaults, m_runtime, m_stores, m_keychainFake, *m_rules, m_authenticator, m_window });
        m_notifications = std::make_unique<PageNotifications>(*m_sessions, m_runtime, m_notifier);
        m_pageNotifications = m_notifications.get();
        m_commands = std::make_unique<CommandTable>(CommandTable::Dependencies{
            *m_sessions, m_presentation, m_window, m_downloads, {}, m_notifications.get() });
        m_home = home;
        m_work = work;
    }
    void TearDown() override
    {
        IsolatedWebViewPermissionsTest::TearDown();
        m_commands.reset();
        m_notifications.reset();
        m_sessions.reset();
    }

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
    std::optional<WorkspaceSession> m_work;
    std::optional<WorkspaceSession> m_home;
};

TEST_F(IsolatedWebViewNotificationTest, ReachesTheDesktopNamedAfterPageAndWorkspaceAndAClickShowsTheTab)
{
    m_sessions->openWorkspace(*m_work);
    ASSERT_TRUE(runUntil([&] { return m_runtime.isLoaded(m_workspaceID); }));
    auto pageTab = *m_runtime.newTab(m_workspaceID, *Url::parse(m_server.url("/chat")));
    m_runtime.newTab(m_workspaceID, *Url::parse(m_server.url("/other")));
    m_sessions->openWorkspace(*m_home);
    ASSERT_TRUE(runUntil([&] { return m_sessions->activeWorkspaceId().get() == m_home->id; }));

    auto configuration = this->configuration(m_server.url("/chat"));
    configuration.tabId = pageTab;
    configuration.workspaceName = [] { return std::string("Work (Client A)"); };
    auto& view = makeView(std::move(configuration));
    ASSERT_TRUE(loaded(view, "/chat"));
    runScript(view,
        "document.title = 'Chat'; Notification.requestPermission().then(answer => {"
        " const shown = new Notification('Bob', { body: 'Lunch?' });"
        " shown.onclick = () => document.title = 'clicked'; })");
    ASSERT_TRUE(runUntil([] { return openMessageDialog() != nullptr; }));
    EXPECT_STREQ(adw_message_dialog_get_heading(openMessageDialog()),
        "Allow Work (Client A) to show you notifications on 127.0.0.1?");
    answerQuestion("allow");
    ASSERT_TRUE(runUntil([&] { return !m_notifier.sent.empty(); }));

    const auto& sent = m_notifier.sent.back();
    EXPECT_EQ(sent.title, "Chat \u2014 Work (Client A)");
    EXPECT_EQ(sent.body, "Bob\nLunch?");
    ASSERT_TRUE(sent.commandArgument.has_value());
    m_window.shows = 0;
    EXPECT_TRUE(m_commands->run(sent.defaultCommandName, sent.commandArgument));
    EXPECT_TRUE(runUntil([&] { return m_sessions->activeWorkspaceId().get() == m_workspaceID; }));
    EXPECT_EQ(m_runtime.activeTab(m_workspaceID)->id, pageTab);
    EXPECT_GT(m_window.shows, 0);
    EXPECT_TRUE(titleBecomes(view, "clicked")) << title(view);
}

} // namespace
} // namespace cohortex
