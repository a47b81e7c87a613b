#pragma once

#include <functional>

namespace Gtk {
class Widget;
}

namespace cohortex {

// Tells a tab item when the pointer enters or leaves it, and when focus the user moved by keyboard
// enters or leaves it, which is what brings up its close button.
void watchItemAttention(
    Gtk::Widget& item, std::function<void(bool hovering)> onHover, std::function<void(bool focused)> onFocus);

} // namespace cohortex
