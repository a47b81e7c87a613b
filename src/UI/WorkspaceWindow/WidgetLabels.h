#pragma once

#include <glibmm/ustring.h>
#include <gtkmm/button.h>
#include <gtkmm/widget.h>
#include <string_view>

namespace cohortex {

// A text of the models as GTK takes it. Not ustring(data, size): that size counts characters, and a text
// with any character beyond ASCII holds more bytes than that.
Glib::ustring toUString(std::string_view);

// Gives a control the same text as tooltip and as its name for screen readers, so a button that shows
// only an icon is still announced and explained.
void describeWidget(Gtk::Widget&, const Glib::ustring& text);

// Sets the text a widget shows when the pointer rests on it, and its description for screen readers; an
// empty text shows none. Use this rather than Gtk::Widget::set_tooltip_text: the text is handed to GTK
// only when the tooltip is about to show, because setting it makes GTK ask the display server where the
// pointer is, one round trip per widget, and a switch of workspace re-describes dozens of widgets.
void setTooltip(Gtk::Widget&, const Glib::ustring& text);

// The text the widget's tooltip shows, whichever way it was set; empty when it has none.
Glib::ustring tooltipOf(GtkWidget*);

// Names a control for screen readers only, for a control whose parts carry their own tooltips.
void setAccessibleLabel(Gtk::Widget&, const Glib::ustring& text);

// A flat button that shows a symbolic icon and says what it does.
Gtk::Button* makeIconButton(const Glib::ustring& iconName, const Glib::ustring& text);

} // namespace cohortex
