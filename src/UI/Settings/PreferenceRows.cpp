#include "UI/Settings/PreferenceRows.h"

#include "Services/Alerts.h"
#include "Support/Translation.h"
#include "UI/Modals/FormParts.h"

#include <adwaita.h>
#include <glibmm/markup.h>
#include <gtkmm/stringlist.h>

namespace cohortex {

AdwPreferencesPage* makePage(std::string_view title, std::string_view iconName)
{
    auto* page = ADW_PREFERENCES_PAGE(adw_preferences_page_new());
    adw_preferences_page_set_title(page, std::string(title).c_str());
    adw_preferences_page_set_icon_name(page, std::string(iconName).c_str());
    return page;
}

AdwPreferencesGroup* makeGroup(std::string_view title, std::string_view description)
{
    // A group's title and description are always read as markup.
    auto* group = ADW_PREFERENCES_GROUP(adw_preferences_group_new());
    adw_preferences_group_set_title(group, Glib::Markup::escape_text(toUString(title)).c_str());
    if (!description.empty())
        adw_preferences_group_set_description(
            group, Glib::Markup::escape_text(toUString(description)).c_str());
    return group;
}

AdwActionRow* makeActionRow(std::string_view title, std::string_view subtitle)
{
    auto* row = ADW_ACTION_ROW(adw_action_row_new());
    adw_preferences_row_set_use_markup(ADW_PREFERENCES_ROW(row), false);
    adw_preferences_row_set_title(ADW_PREFERENCES_ROW(row), std::string(title).c_str());
    if (!subtitle.empty())
        adw_action_row_set_subtitle(row, std::string(subtitle).c_str());
    return row;
}

Gtk::Switch* addSwitch(AdwActionRow* row)
{
    auto* toggle = Gtk::make_managed<Gtk::Switch>();
    toggle->set_valign(Gtk::Align::CENTER);
    adw_action_row_add_suffix(row, GTK_WIDGET(toggle->gobj()));
    adw_action_row_set_activatable_widget(row, GTK_WIDGET(toggle->gobj()));
    return toggle;
}

AdwComboRow* makeComboRow(std::string_view title, std::string_view subtitle)
{
    auto* row = ADW_COMBO_ROW(adw_combo_row_new());
    adw_preferences_row_set_use_markup(ADW_PREFERENCES_ROW(row), false);
    adw_preferences_row_set_title(ADW_PREFERENCES_ROW(row), std::string(title).c_str());
    if (!subtitle.empty())
        adw_action_row_set_subtitle(ADW_ACTION_ROW(row), std::string(subtitle).c_str());
    return row;
}

void setOptions(AdwComboRow* row, const std::vector<std::string>& options)
{
    std::vector<Glib::ustring> titles(options.begin(), options.end());
    auto model = Gtk::StringList::create(titles);
    adw_combo_row_set_model(row, G_LIST_MODEL(model->gobj()));
}

namespace {

using Callback = std::function<void()>;

GSignalConnection connect(GtkWidget* widget, const char* signal, GCallback trampoline, Callback callback)
{
    auto handler = g_signal_connect_data(
        widget, signal, trampoline, new Callback(std::move(callback)),
        [](gpointer data, GClosure*) { delete static_cast<Callback*>(data); }, GConnectFlags(0));
    return GSignalConnection(GObjectPtr<GtkWidget>::retain(widget), handler);
}

} // namespace

GSignalConnection onSelected(AdwComboRow* row, std::function<void(unsigned)> selected)
{
    return connect(GTK_WIDGET(row), "notify::selected",
        G_CALLBACK(+[](GObject*, GParamSpec*, gpointer data) { (*static_cast<Callback*>(data))(); }),
        [row, selected = std::move(selected)] { selected(adw_combo_row_get_selected(row)); });
}

GSignalConnection onSignal(GtkWidget* widget, const char* signal, std::function<void()> callback)
{
    return connect(widget, signal,
        G_CALLBACK(+[](GtkWidget*, gpointer data) { (*static_cast<Callback*>(data))(); }),
        std::move(callback));
}

Gtk::Widget* makeNote(std::string_view text, std::initializer_list<const char*> cssClasses)
{
    auto* note = makeLabel(toUString(text), cssClasses);
    note->set_margin_top(6);
    return note;
}

void tellChangeNotSaved(Alerts& alerts)
{
    alerts.inform(_(changeNotSavedMessage), _(settingsNotWritableDetails));
}

} // namespace cohortex
