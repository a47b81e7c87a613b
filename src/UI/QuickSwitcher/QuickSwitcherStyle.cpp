#include "UI/QuickSwitcher/QuickSwitcherStyle.h"

#include <gdkmm/display.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/stylecontext.h>

namespace cohortex {

namespace {

constexpr const char* css = R"(
.quick-switcher-backdrop { background-color: rgba(0, 0, 0, 0.35); }
.quick-switcher-panel {
    border-radius: 12px;
    padding: 6px;
    box-shadow: 0 10px 36px rgba(0, 0, 0, 0.4), 0 0 0 1px rgba(0, 0, 0, 0.12);
}
.quick-switcher-search { padding: 6px 8px; }
.quick-switcher-field { font-size: 1.2em; background: none; box-shadow: none; }
.quick-switcher-empty { padding: 14px; }
.quick-switcher-list { background: none; }
/* The highlight follows the arrow keys at once, however fast they repeat. */
.quick-switcher-row { padding: 6px 10px; border-radius: 8px; transition: none; }
.quick-switcher-row.quick-switcher-highlight { background-color: alpha(@theme_selected_bg_color, 0.18); }
.quick-switcher-badge {
    background-color: #e01b24;
    color: white;
    border-radius: 999px;
    padding: 1px 7px;
    font-size: 0.8em;
    font-weight: bold;
}
)";

} // namespace

void installQuickSwitcherStyle()
{
    static bool isInstalled = false;
    auto display = Gdk::Display::get_default();
    if (isInstalled || !display)
        return;
    auto provider = Gtk::CssProvider::create();
    provider->load_from_data(css);
    Gtk::StyleContext::add_provider_for_display(display, provider, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    isInstalled = true;
}

} // namespace cohortex
