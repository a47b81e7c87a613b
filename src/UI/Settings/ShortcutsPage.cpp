#include "UI/Settings/ShortcutsPage.h"

#include "KeyboardShortcuts/GlobalShortcuts.h"
#include "KeyboardShortcuts/HotKeyService.h"
#include "KeyboardShortcuts/RecorderField.h"
#include "Support/Translation.h"
#include "UI/Settings/PreferenceRows.h"
#include "UI/Settings/ShortcutRecorder.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <adwaita.h>
#include <gtkmm/button.h>

namespace cohortex {

namespace {

constexpr std::string_view heading = N_("Global Keyboard Shortcuts");
constexpr std::string_view explanation
    = N_("Switch between client workspaces instantly from any application.");
constexpr std::string_view unavailableExplanation
    = N_("This desktop does not let applications listen for keys pressed in other applications. To use "
         "these shortcuts, add each command below as a custom shortcut in your desktop's keyboard settings.");

const GlobalShortcut& shortcutNamed(std::string_view name)
{
    for (const auto& shortcut : globalShortcuts) {
        if (shortcut.name == name)
            return shortcut;
    }
    return globalShortcuts.front();
}

// Copies the command line, since typing it over by hand is where it would go wrong.
Gtk::Button* makeCopyButton(std::string_view commandLine)
{
    auto* button = Gtk::make_managed<Gtk::Button>();
    button->set_icon_name("edit-copy-symbolic");
    button->add_css_class("flat");
    button->set_valign(Gtk::Align::CENTER);
    describeWidget(*button, _("Copy Command"));
    button->signal_clicked().connect(
        [button, line = std::string(commandLine)] { button->get_clipboard()->set_text(line); });
    return button;
}

} // namespace

GtkWidget* makeShortcutsPage(const ShortcutsPageDependencies& dependencies)
{
    auto* page = makePage(_("Shortcuts"), "preferences-desktop-keyboard-shortcuts-symbolic");
    bool available = dependencies.hotKeys.isAvailable();
    auto* group = makeGroup(_(heading), _(available ? explanation : unavailableExplanation));
    auto keys = commandKeys(dependencies.commands);
    auto reserved = dependencies.reservedBySystem ? dependencies.reservedBySystem() : std::set<Shortcut>{};
    for (auto name : recordableShortcuts) {
        const auto& shortcut = shortcutNamed(name);
        auto* row = makeActionRow(_(shortcut.label));
        if (available) {
            auto* recorder = Gtk::make_managed<ShortcutRecorder>(
                std::make_unique<RecorderField>(dependencies.shortcuts, std::string(name), keys, reserved),
                dependencies.alerts);
            adw_action_row_add_suffix(row, GTK_WIDGET(recorder->gobj()));
        } else {
            adw_action_row_set_subtitle(row, std::string(shortcut.commandLine).c_str());
            adw_action_row_add_suffix(row, GTK_WIDGET(makeCopyButton(shortcut.commandLine)->gobj()));
        }
        adw_preferences_group_add(group, GTK_WIDGET(row));
    }
    adw_preferences_page_add(page, group);
    return GTK_WIDGET(page);
}

} // namespace cohortex
