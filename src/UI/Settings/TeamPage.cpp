#include "UI/Settings/TeamPage.h"

#include "Models/WorkspaceImport.h"
#include "Support/Translation.h"
#include "UI/Modals/FormParts.h"
#include "UI/Settings/PreferenceRows.h"
#include "UI/SymbolIcons.h"

#include <adwaita.h>
#include <gtkmm/box.h>

namespace cohortex {

namespace {

// Made when a chooser opens, so that their names are read in the user's language.
FileFilter bundleFilter()
{
    return { _("Cohortex workspace files"), { "*.cohortex" }, { "application/x-cohortex-bundle" } };
}
// A bundle is JSON, and a teammate may have saved it as such: both show without switching filters.
FileFilter importableFilter()
{
    return { _("Cohortex workspace files"), { "*.cohortex", "*.json" },
        { "application/x-cohortex-bundle", "application/json" } };
}

AdwActionRow* makeSymbolRow(std::string_view title, std::string_view symbol)
{
    auto* row = makeActionRow(title);
    adw_action_row_set_icon_name(row, iconNameForSymbol(symbol).c_str());
    return row;
}

} // namespace

TeamPage::TeamPage(Dependencies dependencies)
    : m_chooseFileToSave(std::move(dependencies.chooseFileToSave))
    , m_chooseFileToOpen(std::move(dependencies.chooseFileToOpen))
    , m_tab(dependencies.queue, dependencies.sessions, dependencies.teamSharing)
{
    build();
    bind();
    render();
}

void TeamPage::build()
{
    auto* page = makePage(_("Team"), iconNameForSymbol("person.2"));
    m_page = GTK_WIDGET(page);
    auto* group = makeGroup(_(teamTabHeading), _(teamTabExplanation));
    adw_preferences_group_add(
        group, GTK_WIDGET(makeSymbolRow(_(teamTabNeverIncluded), teamTabNeverIncludedSymbol)));
    adw_preferences_group_add(group, GTK_WIDGET(makeSymbolRow(_(teamTabSignedOut), teamTabSignedOutSymbol)));
    auto* buttons = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 8);
    buttons->set_margin_top(12);
    m_export = Gtk::make_managed<Gtk::Button>(toUString(_(exportSetupButtonTitle)));
    m_export->add_css_class("suggested-action");
    m_import = Gtk::make_managed<Gtk::Button>(toUString(_(importSetupButtonTitle)));
    buttons->append(*m_export);
    buttons->append(*m_import);
    adw_preferences_group_add(group, GTK_WIDGET(buttons->gobj()));
    m_status = makeLabel("", { "caption", "dim-label" });
    m_status->set_margin_top(6);
    adw_preferences_group_add(group, GTK_WIDGET(m_status->gobj()));
    adw_preferences_page_add(ADW_PREFERENCES_PAGE(m_page), group);
}

void TeamPage::bind()
{
    m_connections.emplace_back(m_export->signal_clicked().connect([this] { exportSetup(); }));
    m_connections.emplace_back(m_import->signal_clicked().connect([this] { importSetup(); }));
    m_connections.emplace_back(m_tab.status().changed().connect([this](const auto&) { render(); }));
}

void TeamPage::exportSetup()
{
    FileRequest request{ _("Export Setup"), _("Save"), std::string(suggestedExportFileName),
        { bundleFilter() } };
    m_chooseFileToSave(*m_export, std::move(request),
        [this, alive = std::weak_ptr<bool>(m_alive)](std::filesystem::path file) {
            if (!alive.expired())
                m_tab.exportTo(std::move(file));
        });
}

void TeamPage::importSetup()
{
    FileRequest request{ _("Import Setup"), _("Open"), "", { importableFilter() } };
    m_chooseFileToOpen(*m_import, std::move(request),
        [this, alive = std::weak_ptr<bool>(m_alive)](std::filesystem::path file) {
            if (!alive.expired())
                m_tab.importFrom(std::move(file));
        });
}

void TeamPage::render()
{
    const auto& status = m_tab.status().get();
    m_status->set_text(status);
    m_status->set_visible(!status.empty());
}

} // namespace cohortex
