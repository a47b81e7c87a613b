#include "UI/Modals/FileChooser.h"

#include "Support/Translation.h"

#include <giomm/file.h>
#include <gtkmm/dialog.h>
#include <gtkmm/filechoosernative.h>
#include <gtkmm/filefilter.h>
#include <gtkmm/window.h>
#include <memory>

namespace cohortex {

void presentChooser(const Glib::RefPtr<Gtk::FileChooserNative>& dialog, Gtk::Widget& anchor,
    std::function<void(std::filesystem::path)> chosen)
{
    if (auto* parent = dynamic_cast<Gtk::Window*>(anchor.get_root()))
        dialog->set_transient_for(*parent);
    dialog->set_modal(true);
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

namespace {

void choose(Gtk::Widget& anchor, Gtk::FileChooser::Action action, const FileRequest& request,
    std::function<void(std::filesystem::path)> chosen)
{
    auto dialog = Gtk::FileChooserNative::create(request.title, action, request.acceptLabel, _("Cancel"));
    for (const auto& filter : request.filters) {
        auto kind = Gtk::FileFilter::create();
        kind->set_name(filter.name);
        for (const auto& pattern : filter.patterns)
            kind->add_pattern(pattern);
        for (const auto& type : filter.mimeTypes)
            kind->add_mime_type(type);
        dialog->add_filter(kind);
    }
    if (!request.suggestedName.empty())
        dialog->set_current_name(request.suggestedName);
    presentChooser(dialog, anchor, std::move(chosen));
}

} // namespace

void chooseFileToSaveWithPortal(
    Gtk::Widget& anchor, FileRequest request, std::function<void(std::filesystem::path)> chosen)
{
    choose(anchor, Gtk::FileChooser::Action::SAVE, request, std::move(chosen));
}

void chooseFileToOpenWithPortal(
    Gtk::Widget& anchor, FileRequest request, std::function<void(std::filesystem::path)> chosen)
{
    choose(anchor, Gtk::FileChooser::Action::OPEN, request, std::move(chosen));
}

} // namespace cohortex
