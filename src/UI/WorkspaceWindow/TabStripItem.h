#pragma once

#include "Models/TabBarItems.h"

#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/togglebutton.h>
#include <optional>

namespace cohortex {

// One page tab in the strip: its title on a button that selects it, and a close button on the active
// tab and under the pointer while the workspace has more than one tab.
class TabStripItem : public Gtk::Box {
public:
    struct Actions {
        std::function<void()> onSelect;
        std::function<void()> onClose;
    };

    explicit TabStripItem(Actions);

    void update(const PageTabItemState&);
    // Keyboard focus inside counts as hovering, so the close button can be reached by keyboard.
    void setHovering(bool);

private:
    void bind();
    void showCloseButton();

    Actions m_actions;
    std::optional<PageTabItemState> m_state;
    bool m_isHovering{ false };
    bool m_hasFocusWithin{ false };

    Gtk::ToggleButton m_select;
    Gtk::Label m_title;
    Gtk::Button m_close;
};

} // namespace cohortex
