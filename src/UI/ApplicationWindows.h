#pragma once

#include <glibmm/refptr.h>

namespace Gtk {
class Application;
class Window;
} // namespace Gtk

namespace cohortex {

// gtkmm takes a window out of its application whenever the window is hidden, so that run() can return
// once every window is closed. A window that is hidden and shown again, as the main window and the
// tray's panel are, would come back without the application's actions (its buttons greyed out, its
// keys dead) and without counting towards the application being active; this adds it to the
// application now and again each time it is shown.
void keepInApplication(Gtk::Window&, const Glib::RefPtr<Gtk::Application>&);

} // namespace cohortex
