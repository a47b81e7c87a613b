#include "UI/ApplicationWindows.h"

#include <gtkmm/application.h>
#include <gtkmm/window.h>

namespace cohortex {

void keepInApplication(Gtk::Window& window, const Glib::RefPtr<Gtk::Application>& application)
{
    application->add_window(window);
    // The window's own signal: it goes with the window, and it runs before the window is drawn.
    window.signal_show().connect(
        [&window, application] {
            if (!window.get_application())
                application->add_window(window);
        },
        false);
}

} // namespace cohortex
