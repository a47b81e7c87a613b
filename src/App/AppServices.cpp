#include "App/AppServices.h"

#include "KeyboardShortcuts/GlobalShortcuts.h"
#include "KeyboardShortcuts/NoHotKeys.h"
#include "Platform/Linux/DesktopReservedShortcuts.h"
#include "Platform/Linux/PortalHotKeys.h"
#include "Platform/Linux/X11HotKeys.h"
#include "UI/WorkspaceWindow/WorkspaceWindowView.h"

#include <gdk/x11/gdkx.h>
#include <gtkmm/application.h>
#include <gtkmm/window.h>
#include <webkit/webkit.h>

namespace cohortex {

Expected<std::unique_ptr<AppServices>> AppServices::create(
    Glib::RefPtr<Gtk::Application> application, Alerts* alertsInsteadOfDialogs, std::function<void()> quit)
{
    auto defaults = SqliteDefaults::open(SqliteDefaults::defaultPath());
    if (!defaults)
        return std::unexpected(defaults.error());
    return std::unique_ptr<AppServices>(new AppServices(
        std::move(*defaults), std::move(application), alertsInsteadOfDialogs, std::move(quit)));
}

AppServices::AppServices(std::unique_ptr<SqliteDefaults> defaults, Glib::RefPtr<Gtk::Application> application,
    Alerts* alertsInsteadOfDialogs, std::function<void()> quit)
    : m_defaults(std::move(defaults))
    // A run without an application only answers a command line, and may be over before polkit answers.
    , m_authenticator(
          application ? PolkitAuthenticator::FirstProbe::AtOnce : PolkitAuthenticator::FirstProbe::WhenAsked)
    , m_windowManager(application)
    , m_alerts(m_queue, [this]() -> GtkWindow* {
        // A question asked while the settings are open belongs over them, not behind them.
        auto* settings = m_settings ? m_settings->shownWindow() : nullptr;
        auto* window = settings ? settings : m_windowManager.mainWindow();
        return window ? window->gobj() : nullptr;
    })
{
    m_windowManager.setContentFactory([this] { return makeWindowContent(); });
    if (alertsInsteadOfDialogs)
        m_alertsInUse = alertsInsteadOfDialogs;
    m_sessions = std::make_unique<SessionManager>(SessionManager::Collaborators{ m_queue, *m_defaults,
        m_runtime, m_dataStores, m_keychain, m_routingRules, m_authenticator, m_windowManager });
    m_housekeeping = std::make_unique<Housekeeping>(Housekeeping::Collaborators{ m_queue, *m_sessions,
        m_runtime, m_dataStores, m_resources, m_registry, m_windowManager, m_timeTracker, m_idleTime });
    m_teamSharing = std::make_unique<TeamSharing>(m_queue, *m_sessions, m_routingRules, *m_alertsInUse);
    m_sessions->setFileHandler(
        [this](std::filesystem::path file) { return m_teamSharing->confirmAndImport(file); });
    m_sitePermissions.followWorkspaces(m_sessions->workspaces());
    if (application) {
        m_desktopNotifications = std::make_unique<GioNotifications>(G_APPLICATION(application->gobj()));
        m_pageNotifications
            = std::make_unique<PageNotifications>(*m_sessions, m_runtime, *m_desktopNotifications);
        m_downloadNotices = std::make_unique<DownloadNotices>(
            m_downloads, *m_sessions, m_windowManager, *m_desktopNotifications);
    }
    m_commands = std::make_unique<CommandTable>(CommandTable::Dependencies{ *m_sessions, m_presentation,
        m_windowManager, m_downloads, std::move(quit), m_pageNotifications.get() });
    m_hotKeys = makeHotKeys(static_cast<bool>(application));
    m_shortcuts = std::make_unique<ShortcutStore>(*m_defaults, *m_hotKeys);
    registerGlobalShortcuts(*m_shortcuts, *m_commands);
    m_shortcutsHelp
        = std::make_unique<ShortcutsHelpPresenter>(m_presentation, *m_commands, [this]() -> GtkWindow* {
              auto* window = m_windowManager.mainWindow();
              return window ? window->gobj() : nullptr;
          });
    if (application) {
        m_menuBarModel = std::make_unique<MenuBarModel>(*m_sessions, m_runtime, m_resources);
        m_menuBarItem = std::make_unique<MenuBarItem>(MenuBarItem::Dependencies{
            *m_menuBarModel, *m_sessions, *m_commands, std::move(application), *m_desktopNotifications });
        m_windowManager.setCloseObserver([this] { m_menuBarItem->mainWindowClosed(); });
    }
    m_settings = std::make_unique<SettingsPresenter>(
        SettingsPresenter::Dependencies{ SettingsWindow::Dependencies{ .queue = m_queue,
                                             .sessions = *m_sessions,
                                             .routingRules = m_routingRules,
                                             .timeTracker = m_timeTracker,
                                             .teamSharing = *m_teamSharing,
                                             .defaultBrowser = m_defaultBrowser,
                                             .loginItem = m_loginItem,
                                             .dataStores = m_dataStores,
                                             .alerts = *m_alertsInUse,
                                             .shortcuts = ShortcutsPageDependencies{ *m_shortcuts, *m_hotKeys,
                                                 *m_commands, desktopReservedShortcuts, *m_alertsInUse } },
            m_presentation, [this] { return m_windowManager.mainWindow(); } });
}

AppServices::~AppServices()
{
    // The settings watch nearly everything below; they go before anything they watch.
    m_settings.reset();
    // The window's content watches the session manager and the runtime and holds pages on the engine's
    // stores: it goes first, while all of them still exist.
    m_windowManager.destroyMainWindow();
    m_shortcuts.reset();
    m_hotKeys.reset();
    m_windowManager.setCloseObserver({});
    m_menuBarItem.reset();
    m_menuBarModel.reset();
    m_shortcutsHelp.reset();
    m_commands.reset();
    m_downloadNotices.reset();
    m_pageNotifications.reset();
    m_desktopNotifications.reset();
    m_teamSharing.reset();
    m_housekeeping.reset();
    m_sessions.reset();
}

std::unique_ptr<HotKeyService> AppServices::makeHotKeys(bool hasApplication)
{
    // A command answered without a window must not take the desktop's keys, even for a moment.
    auto* display = hasApplication ? gdk_display_get_default() : nullptr;
    if (display && GDK_IS_X11_DISPLAY(display)) {
        if (auto x11 = X11HotKeys::open()) {
            x11->setEventTimeObserver([this](std::uint32_t time) { m_windowManager.setPresentTime(time); });
            return x11;
        }
    }
    // A Wayland compositor shows no client another's keys: only its portal can bind global shortcuts.
    if (display)
        return std::make_unique<PortalHotKeys>();
    return std::make_unique<NoHotKeys>();
}

Gtk::Widget* AppServices::makeWindowContent()
{
    return Gtk::make_managed<WorkspaceWindowView>(
        WorkspaceWindowView::Dependencies{ *m_sessions, m_presentation, m_runtime, m_dataStores,
            IsolatedWebView::Services{ m_queue, m_engine, m_dataStores, m_registry, m_downloads, &m_launcher,
                &m_sitePermissions, m_pageNotifications.get() },
            m_keychain, m_authenticator, m_resources, *m_alertsInUse, &m_commands->pageActions(),
            &m_zoomLevels });
}

void AppServices::prepareActiveWorkspace()
{
    auto active = m_sessions->activeWorkspace();
    // A locked workspace gives nothing away before its owner is back, not even its saved logins.
    if (!active || m_sessions->needsUnlock(*active))
        return;
    m_dataStores.openStore(*active);
    // The window is made hidden and the workspace loaded now: its web process starts and its first page
    // is requested (once the saved logins are back) while the launch still waits to show the window.
    m_windowManager.prepareMainWindow();
    m_sessions->ensureActiveLoaded();
    // A lookup outside the proxy would tell the network which site a proxied workspace visits.
    if (auto host = active->initialURL.host(); host && !active->hasProxy())
        webkit_network_session_prefetch_dns(
            m_engine.networkSession(active->storageIdentifier), host->c_str());
}

} // namespace cohortex
