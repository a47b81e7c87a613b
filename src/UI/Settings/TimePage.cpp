#include "UI/Settings/TimePage.h"

#include "Services/SessionManager.h"
#include "Services/TimeTracker.h"
#include "Support/Translation.h"
#include "UI/Modals/FormParts.h"
#include "UI/Settings/PreferenceRows.h"
#include "UI/SymbolIcons.h"
#include "UI/WorkspaceWindow/ColorDot.h"

#include <adwaita.h>
#include <gtkmm/box.h>

namespace cohortex {

namespace {

Gtk::Label* makeCell(const std::string& text, std::initializer_list<const char*> cssClasses = {})
{
    auto* cell = makeLabel(text, cssClasses);
    cell->set_wrap(false);
    return cell;
}

// The durations line up on their right edge, as figures in a table do.
Gtk::Label* makeDurationCell(const std::string& text, std::initializer_list<const char*> cssClasses = {})
{
    auto* cell = makeCell(text, cssClasses);
    cell->set_xalign(1);
    cell->add_css_class("numeric");
    return cell;
}

} // namespace

TimePage::TimePage(Dependencies dependencies)
    : m_sessions(dependencies.sessions)
    , m_tracker(dependencies.timeTracker)
    , m_alerts(dependencies.alerts)
    , m_chooseFileToSave(std::move(dependencies.chooseFileToSave))
    , m_tab(dependencies.queue, dependencies.sessions, dependencies.timeTracker, dependencies.alerts)
{
    build();
    bind();
    render();
}

void TimePage::build()
{
    auto* page = makePage(_("Time"), iconNameForSymbol("clock"));
    m_page = GTK_WIDGET(page);

    auto* tracking = makeGroup(_(TimeSettingsTab::heading));
    auto* enabled = makeActionRow(_(TimeSettingsTab::enabledTitle), _(TimeSettingsTab::enabledExplanation));
    m_enabled = addSwitch(enabled);
    adw_preferences_group_add(tracking, GTK_WIDGET(enabled));
    adw_preferences_page_add(page, tracking);

    auto* history = makeGroup("");
    m_table = Gtk::make_managed<Gtk::Grid>();
    m_table->set_column_spacing(24);
    m_table->set_row_spacing(8);
    m_table->set_margin(12);
    auto* card = Gtk::make_managed<Gtk::Box>();
    card->add_css_class("card");
    card->append(*m_table);
    adw_preferences_group_add(history, GTK_WIDGET(card->gobj()));
    auto* buttons = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 8);
    buttons->set_margin_top(12);
    m_export = Gtk::make_managed<Gtk::Button>(toUString(_(TimeSettingsTab::exportButtonTitle)));
    m_clear = Gtk::make_managed<Gtk::Button>(toUString(_(TimeSettingsTab::clearButtonTitle)));
    buttons->append(*m_export);
    buttons->append(*m_clear);
    adw_preferences_group_add(history, GTK_WIDGET(buttons->gobj()));
    adw_preferences_page_add(page, history);
}

void TimePage::bind()
{
    m_connections.emplace_back(m_enabled->property_active().signal_changed().connect([this] {
        if (m_isRendering)
            return;
        if (!m_tracker.setEnabled(m_enabled->get_active())) {
            render();
            tellChangeNotSaved(m_alerts);
        }
    }));
    m_connections.emplace_back(m_export->signal_clicked().connect([this] { exportCsv(); }));
    m_connections.emplace_back(m_clear->signal_clicked().connect([this] { m_tab.clearHistory(); }));
    m_connections.emplace_back(m_tracker.isEnabled().changed().connect([this](bool) { render(); }));
    m_connections.emplace_back(m_tracker.ledger().changed().connect([this](const auto&) { renderTable(); }));
    m_connections.emplace_back(
        m_sessions.workspaces().changed().connect([this](const auto&) { renderTable(); }));
}

void TimePage::exportCsv()
{
    m_tab.prepareExport();
    FileRequest request{ _("Export Time"), _("Save"), std::string(TimeSettingsTab::suggestedExportFileName),
        { FileFilter{ _("Comma-separated values"), { "*.csv" }, { "text/csv" } } } };
    m_chooseFileToSave(*m_export, std::move(request),
        [this, alive = std::weak_ptr<bool>(m_alive)](std::filesystem::path file) {
            if (!alive.expired())
                m_tab.exportCsv(std::move(file));
        });
}

void TimePage::render()
{
    m_isRendering = true;
    m_enabled->set_active(m_tracker.isEnabled().get());
    m_isRendering = false;
    renderTable();
}

void TimePage::renderTable()
{
    while (auto* child = m_table->get_first_child())
        m_table->remove(*child);
    m_table->attach(*makeCell(_(TimeSettingsTab::workspaceColumn), { "heading" }), 0, 0);
    m_table->attach(*makeDurationCell(_(TimeSettingsTab::todayColumn), { "heading" }), 1, 0);
    m_table->attach(*makeDurationCell(_(TimeSettingsTab::lastSevenDaysColumn), { "heading" }), 2, 0);
    int line = 1;
    for (const auto& row : m_tab.rows()) {
        auto* workspace = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 8);
        workspace->set_hexpand(true);
        auto* dot = Gtk::make_managed<ColorDot>();
        dot->setColor(row.color);
        workspace->append(*dot);
        workspace->append(*makeCell(row.name));
        m_table->attach(*workspace, 0, line);
        m_table->attach(*makeDurationCell(row.today), 1, line);
        m_table->attach(*makeDurationCell(row.lastSevenDays), 2, line);
        ++line;
    }
}

} // namespace cohortex
