#include "UI/Settings/UpdatesPage.h"

#include "Models/UpdatesSettingsTab.h"
#include "Support/Translation.h"
#include "UI/Modals/FormParts.h"
#include "UI/Settings/PreferenceRows.h"
#include "UI/SymbolIcons.h"

#include <adwaita.h>
#include <gtkmm/button.h>

// The build defines both from the project's version and its build-number setting.
#ifndef COHORTEX_VERSION
#define COHORTEX_VERSION ""
#endif
#ifndef COHORTEX_BUILD_NUMBER
#define COHORTEX_BUILD_NUMBER ""
#endif

namespace cohortex {

GtkWidget* makeUpdatesPage()
{
    auto* page = makePage(_("Updates"), iconNameForSymbol(UpdatesSettingsTab::checkButtonSymbol));
    auto* group = makeGroup("", _(UpdatesSettingsTab::explanation));
    auto* content = ADW_BUTTON_CONTENT(adw_button_content_new());
    adw_button_content_set_icon_name(
        content, iconNameForSymbol(UpdatesSettingsTab::checkButtonSymbol).c_str());
    adw_button_content_set_label(content, _(UpdatesSettingsTab::checkButtonTitle).c_str());
    auto* check = Gtk::make_managed<Gtk::Button>();
    gtk_button_set_child(GTK_BUTTON(check->gobj()), GTK_WIDGET(content));
    check->add_css_class("suggested-action");
    check->set_halign(Gtk::Align::START);
    check->set_margin_top(12);
    // Shown, though never available here, so that nobody looks for it elsewhere: the text above says
    // who updates Cohortex instead.
    check->set_sensitive(UpdatesSettingsTab::canCheckForUpdates);
    adw_preferences_group_add(group, GTK_WIDGET(check->gobj()));
    auto* version = makeLabel(UpdatesSettingsTab::versionString(COHORTEX_VERSION, COHORTEX_BUILD_NUMBER),
        { "caption", "dim-label" });
    version->set_selectable(true);
    version->set_margin_top(12);
    adw_preferences_group_add(group, GTK_WIDGET(version->gobj()));
    adw_preferences_page_add(page, group);
    return GTK_WIDGET(page);
}

} // namespace cohortex
