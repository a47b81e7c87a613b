#pragma once

#include <glibmm/ustring.h>
#include <gtkmm/button.h>
#include <gtkmm/widget.h>

namespace cohortex {

// Gives a control the same text as tooltip and as its name for screen readers, so a button that shows
// only an icon is still announced and explained.
void describeWidget(Gtk::Widget&, const Glib::ustring& text);

// Names a control for screen readers only, for a control whose parts carry their own tooltips.
void setAccessibleLabel(Gtk::Widget&, const Glib::ustring& text);

// A flat button that shows a symbolic icon and says what it does.
Gtk::Button* makeIconButton(const Glib::ustring& iconName, const Glib::ustring& text);

} // namespace cohortex
