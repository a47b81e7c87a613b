#include "UI/Settings/GeneralPage.h"

#include "Services/SessionManager.h"
#include "Support/Translation.h"
#include "UI/SymbolIcons.h"

#include <adwaita.h>
#include <gtkmm/button.h>

namespace cohortex {

GeneralPage::GeneralPage(Dependencies dependencies)
    : m_sessions(dependencies.sessions)
    , m_alerts(dependencies.alerts)
    , m_tab(dependencies.sessions, dependencies.loginItem, dependencies.alerts,
          std::move(dependencies.clearWorkspaceData))
{
    build();
    bind();
    render();
}

void GeneralPage::build()
{
    auto* page = makePage(_("General"), iconNameForSymbol("gearshape"));
    m_page = GTK_WIDGET(page);

    auto* startup = makeGroup(_(GeneralSettingsTab::startupHeading));
    auto* keepSessions = makeActionRow(
        _(GeneralSettingsTab::keepSessionsTitle), _(GeneralSettingsTab::keepSessionsExplanation));
    m_keepSessions = addSwitch(keepSessions);
    adw_preferences_group_add(startup, GTK_WIDGET(keepSessions));
    auto* launch = makeActionRow(_(GeneralSettingsTab::launchAtLoginTitle));
    m_launchAtLogin = addSwitch(launch);
    adw_preferences_group_add(startup, GTK_WIDGET(launch));
    adw_preferences_page_add(page, startup);

    // The explanation of hibernation heads the group: as the row's subtitle it would squeeze the picker.
    auto* memory
        = makeGroup(_(GeneralSettingsTab::memoryHeading), _(GeneralSettingsTab::hibernationExplanation));
    m_hibernation = makeComboRow(_(GeneralSettingsTab::hibernationTitle));
    std::vector<std::string> titles;
    for (const auto& choice : GeneralSettingsTab::hibernationChoices)
        titles.emplace_back(_(choice.title));
    setOptions(m_hibernation, titles);
    adw_preferences_group_add(memory, GTK_WIDGET(m_hibernation));
    auto* purge = makeActionRow(_(GeneralSettingsTab::purgeTitle), _(GeneralSettingsTab::purgeExplanation));
    m_purge = Gtk::make_managed<Gtk::Button>(toUString(_(GeneralSettingsTab::purgeButtonTitle)));
    m_purge->set_valign(Gtk::Align::CENTER);
    adw_action_row_add_suffix(purge, GTK_WIDGET(m_purge->gobj()));
    adw_preferences_group_add(memory, GTK_WIDGET(purge));
    adw_preferences_page_add(page, memory);
}

void GeneralPage::bind()
{
    m_connections.emplace_back(m_keepSessions->property_active().signal_changed().connect([this] {
        if (m_isRendering)
            return;
        if (!m_sessions.setKeepSessionsAfterQuit(m_keepSessions->get_active())) {
            render();
            tellChangeNotSaved(m_alerts);
        }
    }));
    m_connections.emplace_back(m_launchAtLogin->property_active().signal_changed().connect([this] {
        if (m_isRendering)
            return;
        m_tab.setLaunchAtLogin(m_launchAtLogin->get_active());
        render();
    }));
    m_hibernationChosen = onSelected(m_hibernation, [this](unsigned index) {
        if (m_isRendering || index == GTK_INVALID_LIST_POSITION)
            return;
        if (!m_tab.chooseHibernation(index)) {
            render();
            tellChangeNotSaved(m_alerts);
        }
    });
    m_connections.emplace_back(m_purge->signal_clicked().connect([this] { m_tab.purgeAllStorage(); }));
    m_connections.emplace_back(
        m_sessions.keepSessionsAfterQuit().changed().connect([this](bool) { render(); }));
    m_connections.emplace_back(m_sessions.sleepAfterMinutes().changed().connect([this](auto) { render(); }));
}

void GeneralPage::render()
{
    m_isRendering = true;
    m_keepSessions->set_active(m_sessions.keepSessionsAfterQuit().get());
    m_launchAtLogin->set_active(m_tab.launchAtLogin());
    auto choice = GeneralSettingsTab::hibernationChoice(m_sessions.sleepAfterMinutes().get());
    adw_combo_row_set_selected(
        m_hibernation, choice ? static_cast<guint>(*choice) : GTK_INVALID_LIST_POSITION);
    m_isRendering = false;
}

} // namespace cohortex
