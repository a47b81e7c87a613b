#pragma once

#include "Models/CreateWorkspaceForm.h"
#include "Support/Translation.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/togglebutton.h>
#include <vector>

namespace cohortex {

class Alerts;
class SessionManager;

// The sheet in which a new workspace is described: templates, name, starting address, icon and colour.
// It only collects input; the session manager makes the workspace.
class CreateWorkspaceModal : public Gtk::Box {
public:
    CreateWorkspaceModal(SessionManager&, Alerts&, std::function<void()> dismiss);

    // The create button's action: makes the workspace and dismisses the sheet, or, when the address
    // does not parse or the workspace cannot be stored, leaves the sheet open as it is (saying so).
    void createWorkspace();
    // The button that Return presses.
    Gtk::Button& createButton() { return m_create; }

private:
    void build();
    Gtk::Box* makeHeader();
    Gtk::Widget* makeTemplateRow();
    Gtk::Box* makeSymbolRow();
    Gtk::Box* makeColorRow();
    Gtk::Box* makeFooter();
    void bind();
    // Shows the form's state: the texts, which icon and colour are selected, whether create is enabled.
    void render();

    SessionManager& m_sessions;
    Alerts& m_alerts;
    std::function<void()> m_dismiss;
    CreateWorkspaceForm m_form;
    bool m_isRendering{ false };

    Gtk::Entry m_name;
    Gtk::Entry m_address;
    Gtk::Button m_create{ _("Create Isolated Sandbox") };
    std::vector<Gtk::ToggleButton*> m_symbolButtons;
    std::vector<Gtk::ToggleButton*> m_colorButtons;
};

} // namespace cohortex
