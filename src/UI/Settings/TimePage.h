#pragma once

#include "Services/TimeSettingsTab.h"
#include "Support/ScopedConnection.h"
#include "UI/Modals/FileChooser.h"

#include <gtkmm/button.h>
#include <gtkmm/grid.h>
#include <gtkmm/switch.h>
#include <memory>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace cohortex {

class Alerts;
class MainQueue;
class SessionManager;
class TimeTracker;

// The Time tab: the tracking switch, the time per workspace today and over the last seven days, and the
// export and clearing of the history. The table follows the ledger and the workspaces as they change.
class TimePage {
public:
    struct Dependencies {
        MainQueue& queue;
        SessionManager& sessions;
        TimeTracker& timeTracker;
        Alerts& alerts;
        ChooseFile chooseFileToSave;
    };

    explicit TimePage(Dependencies);
    TimePage(const TimePage&) = delete;
    TimePage& operator=(const TimePage&) = delete;

    GtkWidget* widget() const { return m_page; }

private:
    void build();
    void bind();
    void render();
    void renderTable();
    void exportCsv();

    SessionManager& m_sessions;
    TimeTracker& m_tracker;
    Alerts& m_alerts;
    ChooseFile m_chooseFileToSave;
    TimeSettingsTab m_tab;
    GtkWidget* m_page{ nullptr };
    Gtk::Switch* m_enabled{ nullptr };
    Gtk::Grid* m_table{ nullptr };
    Gtk::Button* m_export{ nullptr };
    Gtk::Button* m_clear{ nullptr };
    bool m_isRendering{ false };
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
    // Last, so that they are dropped first and nothing calls into a page being destroyed.
    std::vector<ScopedConnection> m_connections;
};

} // namespace cohortex
