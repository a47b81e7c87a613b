#pragma once

#include <filesystem>
#include <functional>
#include <glibmm/refptr.h>
#include <gtkmm/widget.h>
#include <string>
#include <vector>

namespace Gtk {
class FileChooserNative;
} // namespace Gtk

namespace cohortex {

// Shows a native chooser modal over the window that holds the anchor and calls back with the chosen
// path only when the user confirms one. The choosers below are made of it.
void presentChooser(const Glib::RefPtr<Gtk::FileChooserNative>&, Gtk::Widget& anchor,
    std::function<void(std::filesystem::path)>);

// The kinds of file a chooser offers; a file matches by its name or by its content type.
struct FileFilter {
    std::string name;
    std::vector<std::string> patterns;
    std::vector<std::string> mimeTypes;
};

struct FileRequest {
    std::string title;
    // The button that confirms the choice ("Save", "Open").
    std::string acceptLabel;
    // The name offered for a new file; empty when a file is opened.
    std::string suggestedName;
    std::vector<FileFilter> filters;
};

// Asks the user for a file over the window that holds the anchor; calls back with its path only when
// the user confirms one. Tests put a chooser of their own in its place.
using ChooseFile = std::function<void(
    Gtk::Widget& anchor, FileRequest, std::function<void(std::filesystem::path)> chosen)>;

// The desktop's own file choosers through the file-chooser portal where there is one, GTK's dialogs
// otherwise. Saving asks before it replaces a file that exists.
void chooseFileToSaveWithPortal(
    Gtk::Widget& anchor, FileRequest, std::function<void(std::filesystem::path)> chosen);
void chooseFileToOpenWithPortal(
    Gtk::Widget& anchor, FileRequest, std::function<void(std::filesystem::path)> chosen);

} // namespace cohortex
