#pragma once

#include <glibmm/ustring.h>
#include <gtkmm/togglebutton.h>
#include <string>

namespace cohortex {

// A round button filled with a workspace colour; while it is active a ring in the text colour marks
// it as the chosen one, so the choice shows on light and dark styles alike.
Gtk::ToggleButton* makeColorSwatch(std::string colorHex, const Glib::ustring& spokenName);

} // namespace cohortex
