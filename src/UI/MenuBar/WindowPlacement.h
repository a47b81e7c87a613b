#pragma once

#include "Models/PanelPlacement.h"

#include <optional>

namespace Gtk {
class Window;
}

namespace cohortex {

// Placing a window of our own at a point on screen. Only X11 lets a client do that; on Wayland the
// compositor places windows itself, and each of these answers nothing or does nothing.
namespace WindowPlacement {

std::optional<ScreenPoint> pointerPosition(Gtk::Window&);
// The monitor that shows the point, or the first one.
std::optional<ScreenRect> monitorArea(Gtk::Window&, ScreenPoint);
// The window's top-left corner goes to the point; false where that cannot be done.
bool move(Gtk::Window&, ScreenPoint);

} // namespace WindowPlacement

} // namespace cohortex
