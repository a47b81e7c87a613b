#pragma once

#include "Models/MenuBarMenu.h"
#include "UI/WorkspaceWindow/ColorDot.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <optional>

namespace cohortex {

// One workspace in the tray's panel: colour, icon, name, unread capsule, lock and sleep symbols and the
// keys that open it. The panel hands each button the row at its place, so a click opens the workspace the
// button shows at that moment.
class MenuBarRowButton : public Gtk::Button {
public:
    explicit MenuBarRowButton(std::function<void(const Uuid&)> onChoose);

    void show(const MenuBarRow&);

private:
    std::function<void(const Uuid&)> m_onChoose;
    std::optional<MenuBarRow> m_row;

    Gtk::Box m_layout{ Gtk::Orientation::HORIZONTAL, 8 };
    ColorDot m_dot;
    Gtk::Image m_icon;
    Gtk::Label m_name;
    Gtk::Label m_capsule;
    Gtk::Image m_lock;
    Gtk::Image m_moon;
    Gtk::Label m_hint;
};

} // namespace cohortex
