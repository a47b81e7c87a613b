#include "UI/Styles.h"

#include <gdkmm/display.h>
#include <gio/gio.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/icontheme.h>
#include <gtkmm/stylecontext.h>
#include <utility>

// Made by glib-compile-resources in the build, registered by hand: a static library's object that
// nothing refers to would never be linked, and its constructor would never run.
extern "C" void cohortex_register_resource();

namespace cohortex {

void installStyles()
{
    static bool isRegistered = false;
    if (!std::exchange(isRegistered, true))
        cohortex_register_resource();
    auto display = Gdk::Display::get_default();
    if (!display)
        return;
    // One provider per display: the display keeps it once added.
    static Gdk::Display* styledDisplay = nullptr;
    if (styledDisplay == display.get())
        return;
    styledDisplay = display.get();
    auto provider = Gtk::CssProvider::create();
    provider->load_from_resource("/com/kestrelwick/Cohortex/style.css");
    Gtk::StyleContext::add_provider_for_display(display, provider, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    Gtk::IconTheme::get_for_display(display)->add_resource_path("/com/kestrelwick/Cohortex/icons");
}

} // namespace cohortex
