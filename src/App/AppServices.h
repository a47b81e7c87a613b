#pragma once

#include "App/WindowManager.h"
#include "Engine/KeychainCookieVault.h"
#include "Engine/KeychainService.h"
#include "Engine/WebKitGtk/WebKitEngine.h"
#include "Engine/WebKitManager.h"
#include "Engine/WebViewRegistry.h"
#include "KeyboardShortcuts/HotKeyService.h"
#include "KeyboardShortcuts/ShortcutStore.h"
#include "Platform/Linux/GLibMainQueue.h"
#include "Platform/Linux/GioDefaultBrowser.h"
#include "Platform/Linux/GioDesktopLauncher.h"
#include "Platform/Linux/GioNotifications.h"
#include "Platform/Linux/LinuxIdleTime.h"
#include "Platform/Linux/PolkitAuthenticator.h"
#include "Platform/Linux/ProcMemory.h"
#include "Platform/Linux/SecretServiceStore.h"
#include "Platform/Linux/SqliteDefaults.h"
#include "Platform/Linux/XdgAutostartLoginItem.h"
#include "Services/CommandTable.h"
#include "Services/DownloadList.h"
#include "Services/DownloadNotices.h"
#include "Services/Housekeeping.h"
#include "Services/MenuBarModel.h"
#include "Services/PageNotifications.h"
#include "Services/Presentation.h"
#include "Services/ResourceMonitorService.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Services/SitePermissions.h"
#include "Services/TeamSharing.h"
#include "Services/TimeTracker.h"
#include "Services/WorkspaceRuntime.h"
#include "Services/ZoomLevels.h"
#include "Support/Error.h"
#include "UI/Commands/ShortcutsHelp.h"
#include "UI/MenuBar/MenuBarItem.h"
#include "UI/Modals/AdwAlerts.h"
#include "UI/Settings/SettingsPresenter.h"

#include <functional>
#include <memory>

namespace cohortex {

// The composition root: every shared object of the application, built once with the real adapters,
// each after the ones it needs, and owned here until the process ends. The session manager comes last,
// because its construction already uses all the others.
//
// Building it needs no display: the window is made on its first show, so a run that only answers
// questions about the stored state can build it where there is no desktop at all.
class AppServices {
public:
    // Opens the defaults database at its usual place first; failing to open it is the one error.
    // Alerts, when given, answer in place of the dialogs (test programs only). Quit is what the quit
    // command runs; without it the command does nothing.
    static Expected<std::unique_ptr<AppServices>> create(Glib::RefPtr<Gtk::Application>,
        Alerts* alertsInsteadOfDialogs = nullptr, std::function<void()> quit = {});
    ~AppServices();
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;

    MainQueue& queue() { return m_queue; }
    DefaultsStore& defaults() { return *m_defaults; }
    WebKitEngine& engine() { return m_engine; }
    WebKitManager& dataStores() { return m_dataStores; }
    WorkspaceRuntime& runtime() { return m_runtime; }
    RoutingRules& routingRules() { return m_routingRules; }
    WebViewRegistry& registry() { return m_registry; }
    ResourceMonitorService& resources() { return m_resources; }
    TimeTracker& timeTracker() { return m_timeTracker; }
    DefaultBrowser& defaultBrowser() { return m_defaultBrowser; }
    WindowManager& windowManager() { return m_windowManager; }
    SessionManager& sessions() { return *m_sessions; }
    Presentation& presentation() { return m_presentation; }
    Housekeeping& housekeeping() { return *m_housekeeping; }
    TeamSharing& teamSharing() { return *m_teamSharing; }
    CommandTable& commands() { return *m_commands; }
    ShortcutStore& shortcuts() { return *m_shortcuts; }
    HotKeyService& hotKeys() { return *m_hotKeys; }

    // Gets the active workspace going while the launch waits to show the window: opens its store, puts
    // its saved logins back, makes the hidden window and loads the workspace's pages into it, and looks
    // up its site's address.
    void prepareActiveWorkspace();
    // Makes the hidden window only, for a launch whose links bring their own workspace.
    void prepareMainWindow() { m_windowManager.prepareMainWindow(); }

private:
    AppServices(std::unique_ptr<SqliteDefaults>, Glib::RefPtr<Gtk::Application>,
        Alerts* alertsInsteadOfDialogs, std::function<void()> quit);
    Gtk::Widget* makeWindowContent();
    // Keys pressed anywhere on the desktop: X11 grabs where the display is X11, the portal elsewhere.
    std::unique_ptr<HotKeyService> makeHotKeys(bool hasApplication);

    // Declared in the order of building; they are destroyed in reverse.
    GLibMainQueue m_queue;
    std::unique_ptr<SqliteDefaults> m_defaults;
    SecretServiceStore m_secrets;
    KeychainService m_keychain{ m_secrets };
    KeychainCookieVault m_cookieVault{ m_keychain };
    WebKitEngine m_engine;
    WebKitManager m_dataStores{ m_queue, *m_defaults, m_engine, m_cookieVault, m_keychain };
    GioDesktopLauncher m_launcher;
    // After the engine, so that downloads still running are stopped while their sessions exist.
    DownloadList m_downloads{ m_queue, m_launcher };
    WorkspaceRuntime m_runtime{ m_defaults.get() };
    RoutingRules m_routingRules{ *m_defaults };
    ProcMemory m_memory;
    WebViewRegistry m_registry{ m_memory };
    ResourceMonitorService m_resources{ *m_defaults, m_registry, m_queue };
    TimeTracker m_timeTracker{ *m_defaults };
    ZoomLevels m_zoomLevels{ *m_defaults };
    PolkitAuthenticator m_authenticator;
    LinuxIdleTime m_idleTime;
    GioDefaultBrowser m_defaultBrowser;
    XdgAutostartLoginItem m_loginItem;
    WindowManager m_windowManager;
    AdwAlerts m_alerts;
    // The alerts the session manager and the window ask through: the dialogs, or a test program's answers.
    Alerts* m_alertsInUse{ &m_alerts };
    Presentation m_presentation{ m_queue };
    SitePermissions m_sitePermissions{ *m_defaults, m_queue };
    std::unique_ptr<SessionManager> m_sessions;
    std::unique_ptr<Housekeeping> m_housekeeping;
    std::unique_ptr<TeamSharing> m_teamSharing;
    // Only with an application, which sends them and takes their clicks.
    std::unique_ptr<GioNotifications> m_desktopNotifications;
    std::unique_ptr<PageNotifications> m_pageNotifications;
    std::unique_ptr<DownloadNotices> m_downloadNotices;
    std::unique_ptr<CommandTable> m_commands;
    std::unique_ptr<ShortcutsHelpPresenter> m_shortcutsHelp;
    std::unique_ptr<HotKeyService> m_hotKeys;
    std::unique_ptr<ShortcutStore> m_shortcuts;
    // Only with an application: a run that answers a command line has no desktop to show them on.
    std::unique_ptr<MenuBarModel> m_menuBarModel;
    std::unique_ptr<MenuBarItem> m_menuBarItem;
    std::unique_ptr<SettingsPresenter> m_settings;
};

} // namespace cohortex
