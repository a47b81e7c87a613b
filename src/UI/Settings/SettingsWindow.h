#pragma once

#include "Support/ScopedConnection.h"
#include "UI/Modals/FileChooser.h"
#include "UI/Settings/ShortcutsPage.h"

#include <functional>
#include <gtkmm/window.h>
#include <memory>
#include <optional>
#include <vector>

namespace cohortex {

class Alerts;
class DefaultBrowser;
class GeneralPage;
class LinksPage;
class LoginItem;
class MainQueue;
class RoutingRules;
class SessionManager;
class TeamPage;
class TeamSharing;
class TimePage;
class TimeTracker;
class WebKitManager;

// The application's settings: one page per area, switched from the header bar, with a Done button that
// closes the window. libadwaita's preferences window has no place for such a button, so this is a plain
// libadwaita window built from the same parts.
class SettingsWindow {
public:
    struct Dependencies {
        MainQueue& queue;
        SessionManager& sessions;
        RoutingRules& routingRules;
        TimeTracker& timeTracker;
        TeamSharing& teamSharing;
        DefaultBrowser& defaultBrowser;
        LoginItem& loginItem;
        WebKitManager& dataStores;
        Alerts& alerts;
        ChooseFile chooseFileToSave{ chooseFileToSaveWithPortal };
        ChooseFile chooseFileToOpen{ chooseFileToOpenWithPortal };
        // The Shortcuts tab is left out without them.
        std::optional<ShortcutsPageDependencies> shortcuts;
    };

    // Modal over the parent when there is one. Done, Escape and the window's own close button call
    // dismiss; the window stays until it is destroyed with this.
    SettingsWindow(const Dependencies&, Gtk::Window* parent, std::function<void()> dismiss);
    ~SettingsWindow();
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    Gtk::Window& window() { return *m_window; }

private:
    Gtk::Widget* makeHeaderBar(GtkWidget* stack);
    void addPages(GtkWidget* stack, const Dependencies&);

    Gtk::Window* m_window{ nullptr };
    std::function<void()> m_dismiss;
    std::unique_ptr<GeneralPage> m_general;
    std::unique_ptr<LinksPage> m_links;
    std::unique_ptr<TimePage> m_time;
    std::unique_ptr<TeamPage> m_team;
    std::vector<ScopedConnection> m_connections;
};

} // namespace cohortex
