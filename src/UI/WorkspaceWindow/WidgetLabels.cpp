#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <glibmm/value.h>

namespace cohortex {

Glib::ustring toUString(std::string_view text)
{
    return Glib::ustring(std::string(text));
}

namespace {

constexpr const char* tooltipKey = "cohortex-tooltip";

Glib::ustring* storedTooltip(GtkWidget* widget)
{
    return static_cast<Glib::ustring*>(g_object_get_data(G_OBJECT(widget), tooltipKey));
}

gboolean answerTooltipQuery(GtkWidget* widget, int, int, gboolean, GtkTooltip* tooltip, gpointer)
{
    auto* text = storedTooltip(widget);
    if (!text || text->empty())
        return FALSE;
    gtk_tooltip_set_text(tooltip, text->c_str());
    return TRUE;
}

void setAccessibleText(Gtk::Widget& widget, Gtk::Accessible::Property property, const Glib::ustring& text)
{
    Glib::Value<Glib::ustring> value;
    value.init(Glib::Value<Glib::ustring>::value_type());
    value.set(text);
    widget.update_property(property, value);
}

} // namespace

void describeWidget(Gtk::Widget& widget, const Glib::ustring& text)
{
    setTooltip(widget, text);
    setAccessibleLabel(widget, text);
}

void setTooltip(Gtk::Widget& widget, const Glib::ustring& text)
{
    auto* stored = storedTooltip(widget.gobj());
    if (stored && *stored == text)
        return;
    if (!stored) {
        stored = new Glib::ustring;
        g_object_set_data_full(G_OBJECT(widget.gobj()), tooltipKey, stored,
            [](gpointer data) { delete static_cast<Glib::ustring*>(data); });
        g_signal_connect(widget.gobj(), "query-tooltip", G_CALLBACK(answerTooltipQuery), nullptr);
        widget.set_has_tooltip(true);
    }
    *stored = text;
    setAccessibleText(widget, Gtk::Accessible::Property::DESCRIPTION, text);
    // A tooltip on screen keeps the text it was given; under the pointer, the new one is shown at once.
    if ((widget.get_state_flags() & Gtk::StateFlags::PRELIGHT) == Gtk::StateFlags::PRELIGHT)
        widget.trigger_tooltip_query();
}

Glib::ustring tooltipOf(GtkWidget* widget)
{
    if (auto* stored = storedTooltip(widget))
        return *stored;
    const char* text = gtk_widget_get_tooltip_text(widget);
    return text ? text : "";
}

void setAccessibleLabel(Gtk::Widget& widget, const Glib::ustring& text)
{
    setAccessibleText(widget, Gtk::Accessible::Property::LABEL, text);
}

Gtk::Button* makeIconButton(const Glib::ustring& iconName, const Glib::ustring& text)
{
    auto* button = Gtk::make_managed<Gtk::Button>();
    button->set_icon_name(iconName);
    button->add_css_class("flat");
    describeWidget(*button, text);
    return button;
}

} // namespace cohortex
