#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <glibmm/value.h>

namespace cohortex {

void describeWidget(Gtk::Widget& widget, const Glib::ustring& text)
{
    // Setting a tooltip makes GTK ask the display server where the pointer is, even for the same text,
    // and pages report the same title and state again and again.
    if (widget.get_tooltip_text() != text)
        widget.set_tooltip_text(text);
    setAccessibleLabel(widget, text);
}

void setAccessibleLabel(Gtk::Widget& widget, const Glib::ustring& text)
{
    Glib::Value<Glib::ustring> label;
    label.init(Glib::Value<Glib::ustring>::value_type());
    label.set(text);
    widget.update_property(Gtk::Accessible::Property::LABEL, label);
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
