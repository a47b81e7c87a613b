#pragma once

#include <functional>
#include <gtkmm/window.h>

namespace cohortex {

// Escape does what the window's Cancel or Done does.
void closeOnEscape(Gtk::Window&, std::function<void()> dismiss);

} // namespace cohortex
