#pragma once

#include "Models/SwitcherRows.h"
#include "Support/ScopedConnection.h"
#include "Support/Translation.h"
#include "UI/QuickSwitcher/SwitcherResultList.h"

#include <glibmm/refptr.h>
#include <gtkmm/box.h>
#include <gtkmm/entry.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <vector>

namespace cohortex {

class Presentation;
class SessionManager;
class WorkspaceRuntime;

// The quick switcher: a dimmed backdrop over the whole window with a panel near its top, holding a
// search field and the ranked workspaces and tabs. It shows while the presentation says so. While
// it shows, Escape, Up and Down are the panel's wherever the focus is; every other key reaches the
// field, and Return there opens the highlighted row.
class QuickSwitcherView : public Gtk::Box {
public:
    QuickSwitcherView(SessionManager&, WorkspaceRuntime&, Presentation&);
    ~QuickSwitcherView() override;

    // Opens the highlighted row; with nothing matching the panel stays open.
    void chooseSelected();

    static constexpr const char* placeholder = N_("Jump to a workspace or tab\u2026");
    static constexpr const char* noMatch = N_("No match");

private:
    void build();
    void bind();
    void appear();
    void disappear();
    void installMonitor();
    void removeMonitor();
    bool handleKey(unsigned keyval);
    // Ranks the current workspaces and tabs against the query again and shows the outcome.
    void refresh();
    void showHighlight();
    void closeFromBackdrop(double x, double y);

    SessionManager& m_sessions;
    WorkspaceRuntime& m_runtime;
    Presentation& m_presentation;
    SwitcherRows m_model;

    Gtk::Box m_panel{ Gtk::Orientation::VERTICAL };
    Gtk::Box m_searchRow{ Gtk::Orientation::HORIZONTAL, 8 };
    Gtk::Image m_searchIcon;
    Gtk::Entry m_field;
    Gtk::Label m_noMatch{ _(noMatch) };
    SwitcherResultList m_results;

    Glib::RefPtr<Gtk::EventControllerKey> m_monitor;
    Gtk::Widget* m_monitored{ nullptr };

    std::vector<ScopedConnection> m_connections;
};

} // namespace cohortex
