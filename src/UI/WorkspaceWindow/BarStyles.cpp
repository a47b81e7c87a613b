#include "UI/WorkspaceWindow/BarStyles.h"

#include <gdkmm/display.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/stylecontext.h>

namespace cohortex {

namespace {

constexpr const char* barStyles = R"css(
.cohortex-unread-badge {
    background-color: @accent_bg_color;
    color: @accent_fg_color;
    border-radius: 999px;
    padding: 0 6px;
    font-size: smaller;
    font-weight: bold;
}
/* Buttons set their labels in bold; an item's name is regular unless its item is the active one. */
.cohortex-bar-item label { font-weight: normal; }
.cohortex-bar-item label.cohortex-semibold { font-weight: 600; }
.cohortex-bar-item label.cohortex-unread-badge { font-weight: bold; }
.cohortex-small-close {
    min-width: 20px;
    min-height: 20px;
    padding: 0;
}
.cohortex-bar { padding: 3px 6px; }
.cohortex-bar-item > togglebutton { padding: 3px 8px; }
.cohortex-workspace-badge {
    padding: 2px 8px;
    border-radius: 6px;
    background-color: alpha(currentColor, 0.08);
}
)css";

} // namespace

void installBarStyles()
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
    provider->load_from_data(barStyles);
    Gtk::StyleContext::add_provider_for_display(display, provider, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

} // namespace cohortex
