#include "UI/WorkspaceWindow/ItemAttention.h"

#include <gtkmm/eventcontrollerfocus.h>
#include <gtkmm/eventcontrollermotion.h>
#include <gtkmm/window.h>

namespace cohortex {

void watchItemAttention(
    Gtk::Widget& item, std::function<void(bool hovering)> onHover, std::function<void(bool focused)> onFocus)
{
    auto motion = Gtk::EventControllerMotion::create();
    motion->signal_enter().connect([onHover](double, double) { onHover(true); });
    motion->signal_leave().connect([onHover] { onHover(false); });
    item.add_controller(motion);
    auto focus = Gtk::EventControllerFocus::create();
    focus->signal_enter().connect([&item, onFocus] {
        // Only focus the user moved by keyboard counts: the focus a window gives its first control on
        // opening must not bring up a close button nobody asked for.
        auto* window = dynamic_cast<Gtk::Window*>(item.get_root());
        onFocus(window && window->get_focus_visible());
    });
    focus->signal_leave().connect([onFocus] { onFocus(false); });
    item.add_controller(focus);
}

} // namespace cohortex
