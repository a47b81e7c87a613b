#pragma once

#include <glibmm/ustring.h>
#include <gtkmm/label.h>
#include <gtkmm/widget.h>

namespace cohortex {

// Small pieces the sheets share, so that they look alike.

// A left-aligned label with the given style classes, e.g. "caption", "heading", "dim-label".
Gtk::Label* makeLabel(const Glib::ustring& text, std::initializer_list<const char*> cssClasses = {});
// A caption naming a control; it also names the control for screen readers and moves the focus to it
// when its mnemonic is used.
Gtk::Label* makeCaptionFor(Gtk::Widget& control, const Glib::ustring& text);

} // namespace cohortex
