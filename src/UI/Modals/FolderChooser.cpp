#include "UI/Modals/FolderChooser.h"

#include <giomm/file.h>
#include <gtkmm/dialog.h>
#include <gtkmm/filechoosernative.h>
#include <gtkmm/window.h>
#include <memory>

namespace cohortex {

void chooseFolderWithPortal(Gtk::Widget& anchor, std::function<void(std::string path)> chosen)
{
    auto* parent = dynamic_cast<Gtk::Window*>(anchor.get_root());
    auto dialog = Gtk::FileChooserNative::create(
        "Downloads Folder", Gtk::FileChooser::Action::SELECT_FOLDER, "Choose", "Cancel");
    if (parent)
        dialog->set_transient_for(*parent);
    dialog->set_modal(true);
    dialog->set_create_folders(true);
    // Nothing else holds the dialog while it is up: its own handler keeps it until the answer.
    auto holder = std::make_shared<Glib::RefPtr<Gtk::FileChooserNative>>(dialog);
    dialog->signal_response().connect([holder, chosen = std::move(chosen)](int response) {
        auto file = response == Gtk::ResponseType::ACCEPT ? (*holder)->get_file() : nullptr;
        holder->reset();
        if (file && !file->get_path().empty())
            chosen(file->get_path());
    });
    dialog->show();
}

} // namespace cohortex
