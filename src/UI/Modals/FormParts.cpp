#include "UI/Modals/FormParts.h"

namespace cohortex {

Gtk::Label* makeLabel(const Glib::ustring& text, std::initializer_list<const char*> cssClasses)
{
    auto* label = Gtk::make_managed<Gtk::Label>(text);
    label->set_xalign(0);
    label->set_wrap(true);
    for (const char* cssClass : cssClasses)
        label->add_css_class(cssClass);
    return label;
}

Gtk::Label* makeCaptionFor(Gtk::Widget& control, const Glib::ustring& text)
{
    auto* caption = makeLabel(text, { "caption" });
    // The mnemonic widget is what makes GTK report the caption as the control's accessible label.
    caption->set_mnemonic_widget(control);
    return caption;
}

} // namespace cohortex
