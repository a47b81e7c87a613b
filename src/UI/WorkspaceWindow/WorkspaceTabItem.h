#pragma once

#include "Models/TabBarItems.h"
#include "UI/WorkspaceWindow/ColorDot.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/popover.h>
#include <gtkmm/togglebutton.h>
#include <optional>

namespace cohortex {

// One workspace in the workspace tab bar: colour, icon, name, unread capsule and status symbol on a
// button that opens it; a close button under the pointer; a context menu on secondary click or on
// Shift+F10 and the Menu key. It decides nothing itself: its state comes in whole from the bar.
class WorkspaceTabItem : public Gtk::Box {
public:
    struct Actions {
        std::function<void()> onSelect;
        std::function<void()> onClose;
        std::function<void(WorkspaceMenuEntry::Action)> onMenu;
    };

    explicit WorkspaceTabItem(Actions);
    ~WorkspaceTabItem() override;

    // Only what changed is touched; an equal state changes nothing.
    void update(const WorkspaceTabItemState&);
    // The pointer entered or left the item; keyboard focus inside counts the same, so the close
    // button can be reached by keyboard.
    void setHovering(bool);
    void popupMenu();

private:
    void build();
    void bind();
    void showContent(const WorkspaceTabItemState&);
    void showMenu(const std::vector<WorkspaceMenuEntry>&);
    void showCloseButton();
    void choose(WorkspaceMenuEntry::Action);

    Actions m_actions;
    std::optional<WorkspaceTabItemState> m_state;
    std::vector<WorkspaceMenuEntry> m_menuEntries;
    bool m_isHovering{ false };
    bool m_hasFocusWithin{ false };

    Gtk::ToggleButton m_select;
    Gtk::Box m_content{ Gtk::Orientation::HORIZONTAL, 6 };
    ColorDot m_dot;
    Gtk::Image m_icon;
    Gtk::Label m_name;
    Gtk::Label m_badge;
    Gtk::Image m_status;
    Gtk::Button m_close;
    Gtk::Popover m_menu;
    Gtk::Box m_menuBox{ Gtk::Orientation::VERTICAL, 0 };
};

} // namespace cohortex
