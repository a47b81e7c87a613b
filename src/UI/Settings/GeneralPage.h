#pragma once

#include "Services/GeneralSettingsTab.h"
#include "Support/ScopedConnection.h"
#include "UI/Settings/PreferenceRows.h"

#include <gtkmm/button.h>
#include <gtkmm/switch.h>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace cohortex {

class Alerts;
class LoginItem;
class SessionManager;

// The General tab: staying signed in, starting at login, hibernation and the purge of all website data.
class GeneralPage {
public:
    struct Dependencies {
        SessionManager& sessions;
        LoginItem& loginItem;
        Alerts& alerts;
        GeneralSettingsTab::ClearWorkspaceData clearWorkspaceData;
    };

    explicit GeneralPage(Dependencies);
    GeneralPage(const GeneralPage&) = delete;
    GeneralPage& operator=(const GeneralPage&) = delete;

    // The preferences page, owned by whatever it is added to.
    GtkWidget* widget() const { return m_page; }

private:
    void build();
    void bind();
    void render();

    SessionManager& m_sessions;
    Alerts& m_alerts;
    GeneralSettingsTab m_tab;
    GtkWidget* m_page{ nullptr };
    Gtk::Switch* m_keepSessions{ nullptr };
    Gtk::Switch* m_launchAtLogin{ nullptr };
    AdwComboRow* m_hibernation{ nullptr };
    Gtk::Button* m_purge{ nullptr };
    bool m_isRendering{ false };
    // Last, so that they are dropped first and nothing calls into a page being destroyed.
    std::vector<ScopedConnection> m_connections;
    GSignalConnection m_hibernationChosen;
};

} // namespace cohortex
