#pragma once

#include "Models/MenuBarLabel.h"
#include "Models/MenuBarMenu.h"
#include "Models/StillRunningNotice.h"
#include "Platform/Linux/DBusMenuServer.h"
#include "Platform/Linux/StatusNotifierItem.h"
#include "Platform/Linux/UnityLauncherEntry.h"
#include "Services/DesktopNotifier.h"
#include "Support/ScopedConnection.h"

#include <glibmm/refptr.h>
#include <memory>
#include <vector>

namespace Gtk {
class Application;
}

namespace cohortex {

class CommandTable;
class MenuBarModel;
class MenuBarPanel;
class SessionManager;

// How Cohortex stays reachable with its window closed: the tray icon with the unread total, the panel it
// opens, the same commands as a menu for panels that show menus themselves, the count on the launcher icon
// and, where the desktop shows no tray icon, a notification the first time the window is closed.
class MenuBarItem {
public:
    struct Dependencies {
        const MenuBarModel& model;
        SessionManager& sessions;
        const CommandTable& commands;
        // Its actions are the commands.
        Glib::RefPtr<Gtk::Application> application;
        // Sends the still-running notice.
        DesktopNotifier& notifier;
    };

    static constexpr const char* iconName = "com.kestrelwick.Cohortex";
    static constexpr const char* attentionIconName = "com.kestrelwick.Cohortex-attention";
    static constexpr const char* menuPath = "/MenuBar";
    static constexpr const char* launcherUri = "application://com.kestrelwick.Cohortex.desktop";

    explicit MenuBarItem(Dependencies);
    ~MenuBarItem();
    MenuBarItem(const MenuBarItem&) = delete;
    MenuBarItem& operator=(const MenuBarItem&) = delete;

    // The user closed or hid the main window.
    void mainWindowClosed();
    // True while a panel shows the tray icon.
    bool isInTray() const { return m_item.isRegistered().get(); }

private:
    void showLabel(const MenuBarLabel&);
    void showMenu(const MenuBarMenu&);
    void buildMenu();
    void openWorkspace(const Uuid&);
    void togglePanel(int x, int y);
    void runCommand(std::string_view name);

    const MenuBarModel& m_model;
    SessionManager& m_sessions;
    const CommandTable& m_commands;
    Glib::RefPtr<Gtk::Application> m_application;
    StatusNotifierItem m_item;
    DBusMenuServer m_menu{ menuPath };
    UnityLauncherEntry m_launcher{ launcherUri };
    DesktopNotifier& m_notifications;
    StillRunningNotice m_stillRunning;
    // What the menu shows of the workspaces: the memory line changes every half minute, and the menu, which
    // leaves it out, is rebuilt only when its rows change.
    std::vector<MenuBarRow> m_menuRows;
    // Made on first use, then kept and only shown and hidden.
    std::unique_ptr<MenuBarPanel> m_panel;
    std::vector<ScopedConnection> m_connections;
};

} // namespace cohortex
