#include "UI/Modals/FolderChooser.h"

#include "Support/Translation.h"
#include "UI/Modals/FileChooser.h"

#include <gtkmm/filechoosernative.h>

namespace cohortex {

void chooseFolderWithPortal(Gtk::Widget& anchor, std::function<void(std::string path)> chosen)
{
    auto dialog = Gtk::FileChooserNative::create(
        _("Downloads Folder"), Gtk::FileChooser::Action::SELECT_FOLDER, _("Choose"), _("Cancel"));
    dialog->set_create_folders(true);
    presentChooser(
        dialog, anchor, [chosen = std::move(chosen)](std::filesystem::path path) { chosen(path.string()); });
}

} // namespace cohortex
