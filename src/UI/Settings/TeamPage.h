#pragma once

#include "Services/TeamSettingsTab.h"
#include "Support/ScopedConnection.h"
#include "UI/Modals/FileChooser.h"

#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <memory>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace cohortex {

class MainQueue;
class SessionManager;
class TeamSharing;

// The Team tab: the workspace layout written to a file for a teammate, and read from theirs.
class TeamPage {
public:
    struct Dependencies {
        MainQueue& queue;
        SessionManager& sessions;
        TeamSharing& teamSharing;
        ChooseFile chooseFileToSave;
        ChooseFile chooseFileToOpen;
    };

    explicit TeamPage(Dependencies);
    TeamPage(const TeamPage&) = delete;
    TeamPage& operator=(const TeamPage&) = delete;

    GtkWidget* widget() const { return m_page; }

private:
    void build();
    void bind();
    void render();
    void exportSetup();
    void importSetup();

    ChooseFile m_chooseFileToSave;
    ChooseFile m_chooseFileToOpen;
    TeamSettingsTab m_tab;
    GtkWidget* m_page{ nullptr };
    Gtk::Button* m_export{ nullptr };
    Gtk::Button* m_import{ nullptr };
    Gtk::Label* m_status{ nullptr };
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
    // Last, so that they are dropped first and nothing calls into a page being destroyed.
    std::vector<ScopedConnection> m_connections;
};

} // namespace cohortex
