#include "UI/MenuBar/MenuBarStyle.h"

#include <gdkmm/display.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/stylecontext.h>

namespace cohortex {

namespace {

constexpr const char* css = R"css(
.cohortex-menu-bar-panel { padding: 6px; }
.cohortex-menu-bar-header { padding: 4px 10px 2px 10px; font-size: smaller; font-weight: bold; }
.cohortex-menu-bar-panel button { padding: 4px 10px; }
/* Buttons set their labels in bold; a row's name is regular unless it is the active workspace. */
.cohortex-menu-bar-panel button label { font-weight: normal; }
.cohortex-menu-bar-panel button label.cohortex-semibold { font-weight: 600; }
.cohortex-menu-bar-capsule {
    background-color: @accent_bg_color;
    color: @accent_fg_color;
    border-radius: 999px;
    padding: 0 6px;
    font-size: smaller;
}
.cohortex-menu-bar-panel button label.cohortex-menu-bar-capsule { font-weight: bold; }
.cohortex-menu-bar-hint { font-family: monospace; font-size: smaller; }
.cohortex-menu-bar-memory { padding: 6px 10px; }
)css";

} // namespace

void installMenuBarStyle()
{
    auto display = Gdk::Display::get_default();
    if (!display)
        return;
    // One provider per display: the display keeps it once added.
    static Gdk::Display* styledDisplay = nullptr;
    if (styledDisplay == display.get())
        return;
    styledDisplay = display.get();
    auto provider = Gtk::CssProvider::create();
    provider->load_from_data(css);
    Gtk::StyleContext::add_provider_for_display(display, provider, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

} // namespace cohortex
