#pragma once

#include <functional>
#include <gtkmm/widget.h>
#include <string>

namespace cohortex {

// Asks the user for a folder, over the window that holds the anchor; calls back with its path only
// when the user confirms one. Tests put a chooser of their own in its place.
using ChooseFolder = std::function<void(Gtk::Widget& anchor, std::function<void(std::string path)> chosen)>;

// The desktop's own folder chooser through the file-chooser portal where there is one (a sandboxed or
// Flatpak desktop), GTK's dialog otherwise. Only folders can be chosen, and new ones can be made.
void chooseFolderWithPortal(Gtk::Widget& anchor, std::function<void(std::string path)> chosen);

} // namespace cohortex
