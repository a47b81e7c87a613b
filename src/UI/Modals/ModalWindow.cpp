#include "UI/Modals/ModalWindow.h"

#include <gtkmm/eventcontroller.h>
#include <gtkmm/shortcutcontroller.h>

namespace cohortex {

void closeOnEscape(Gtk::Window& window, std::function<void()> dismiss)
{
    auto controller = Gtk::ShortcutController::create();
    controller->set_scope(Gtk::ShortcutScope::MANAGED);
    controller->add_shortcut(Gtk::Shortcut::create(Gtk::KeyvalTrigger::create(GDK_KEY_Escape),
        Gtk::CallbackAction::create([dismiss = std::move(dismiss)](Gtk::Widget&, const Glib::VariantBase&) {
            dismiss();
            return true;
        })));
    window.add_controller(controller);
}

} // namespace cohortex
