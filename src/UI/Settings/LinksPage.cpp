#include "UI/Settings/LinksPage.h"

#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Support/Translation.h"
#include "UI/Modals/FormParts.h"
#include "UI/SymbolIcons.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <adwaita.h>
#include <glibmm/markup.h>
#include <gtkmm/box.h>
#include <gtkmm/stringlist.h>

namespace cohortex {

namespace {

Glib::RefPtr<Gtk::StringList> stringList(const std::vector<std::string>& texts)
{
    return Gtk::StringList::create(std::vector<Glib::ustring>(texts.begin(), texts.end()));
}

} // namespace

LinksPage::LinksPage(Dependencies dependencies)
    : m_routingRules(dependencies.routingRules)
    , m_sessions(dependencies.sessions)
    , m_alerts(dependencies.alerts)
    , m_tab(dependencies.sessions, dependencies.routingRules, dependencies.defaultBrowser)
{
    build();
    bind();
    render();
}

void LinksPage::build()
{
    auto* page = makePage(_("Links"), iconNameForSymbol("link"));
    m_page = GTK_WIDGET(page);
    adw_preferences_page_add(page, makeRoutingGroup());
    adw_preferences_page_add(page, makeRulesGroup());
}

AdwPreferencesGroup* LinksPage::makeRoutingGroup()
{
    auto* group = makeGroup(_(LinksSettingsTab::heading), _(LinksSettingsTab::explanation));
    m_defaultRow = makeActionRow("");
    m_defaultIcon = Gtk::make_managed<Gtk::Image>();
    adw_action_row_add_prefix(m_defaultRow, GTK_WIDGET(m_defaultIcon->gobj()));
    m_makeDefault = Gtk::make_managed<Gtk::Button>(toUString(_(LinksSettingsTab::makeDefaultButtonTitle)));
    m_makeDefault->add_css_class("suggested-action");
    m_makeDefault->set_valign(Gtk::Align::CENTER);
    adw_action_row_add_suffix(m_defaultRow, GTK_WIDGET(m_makeDefault->gobj()));
    adw_preferences_group_add(group, GTK_WIDGET(m_defaultRow));
    m_fallback = makeComboRow(_(LinksSettingsTab::fallbackTitle));
    adw_preferences_group_add(group, GTK_WIDGET(m_fallback));
    return group;
}

AdwPreferencesGroup* LinksPage::makeRulesGroup()
{
    m_rules = makeGroup(_(LinksSettingsTab::rulesHeading));
    auto* newRule = ADW_ENTRY_ROW(adw_entry_row_new());
    m_pattern = GTK_WIDGET(newRule);
    adw_preferences_row_set_use_markup(ADW_PREFERENCES_ROW(newRule), false);
    adw_preferences_row_set_title(
        ADW_PREFERENCES_ROW(newRule), _(LinksSettingsTab::patternPlaceholder).c_str());
    adw_entry_row_set_input_purpose(newRule, GTK_INPUT_PURPOSE_URL);
    m_target = Gtk::make_managed<Gtk::DropDown>();
    m_target->set_valign(Gtk::Align::CENTER);
    setAccessibleLabel(*m_target, _("Workspace"));
    adw_entry_row_add_suffix(newRule, GTK_WIDGET(m_target->gobj()));
    m_add = Gtk::make_managed<Gtk::Button>(toUString(_(LinksSettingsTab::addButtonTitle)));
    m_add->set_valign(Gtk::Align::CENTER);
    adw_entry_row_add_suffix(newRule, GTK_WIDGET(m_add->gobj()));
    adw_preferences_group_add(m_rules, m_pattern);
    m_noRules = makeLabel(toUString(_(LinksSettingsTab::noRulesHint)), { "dim-label" });
    m_noRules->set_margin_top(6);
    adw_preferences_group_add(m_rules, GTK_WIDGET(m_noRules->gobj()));
    return m_rules;
}

void LinksPage::bind()
{
    m_connections.emplace_back(
        m_makeDefault->signal_clicked().connect([this] { makeDefault(this, m_alive); }));
    m_signals.push_back(onSelected(m_fallback, [this](unsigned index) {
        if (m_isRendering || index == GTK_INVALID_LIST_POSITION || index == m_tab.fallbackIndex())
            return;
        if (!m_tab.chooseFallback(index)) {
            render();
            tellChangeNotSaved(m_alerts);
        }
    }));
    m_signals.push_back(onSignal(m_pattern, "changed", [this] {
        if (m_isRendering)
            return;
        m_tab.pattern = gtk_editable_get_text(GTK_EDITABLE(m_pattern));
        m_add->set_sensitive(m_tab.canAdd());
    }));
    m_signals.push_back(onSignal(m_pattern, "entry-activated", [this] { add(); }));
    m_connections.emplace_back(m_target->property_selected().signal_changed().connect([this] {
        if (!m_isRendering)
            m_tab.chooseTarget(m_target->get_selected());
    }));
    m_connections.emplace_back(m_add->signal_clicked().connect([this] { add(); }));
    m_connections.emplace_back(m_sessions.workspaces().changed().connect([this](const auto&) { render(); }));
    m_connections.emplace_back(m_sessions.linkFallbackWorkspaceId().changed().connect(
        [this](const auto&) { renderWorkspaceChoices(); }));
    m_connections.emplace_back(
        m_routingRules.rules().changed().connect([this](const auto&) { renderRules(); }));
}

void LinksPage::add()
{
    if (!m_tab.add())
        tellChangeNotSaved(m_alerts);
    // The rule list follows the rules on its own; the field shows that it was taken.
    renderWorkspaceChoices();
}

Task<void> LinksPage::makeDefault(LinksPage* page, std::weak_ptr<bool> alive)
{
    page->m_makeDefault->set_sensitive(false);
    co_await page->m_tab.makeDefault();
    if (alive.expired())
        co_return;
    page->m_makeDefault->set_sensitive(true);
    page->renderDefaultBrowser();
}

void LinksPage::render()
{
    renderDefaultBrowser();
    renderWorkspaceChoices();
    renderRules();
}

void LinksPage::renderDefaultBrowser()
{
    bool isDefault = m_tab.isDefault();
    adw_preferences_row_set_title(ADW_PREFERENCES_ROW(m_defaultRow),
        _(isDefault ? LinksSettingsTab::isDefaultText : LinksSettingsTab::isNotDefaultText).c_str());
    m_defaultIcon->set_from_icon_name(iconNameForSymbol(
        isDefault ? LinksSettingsTab::isDefaultSymbol : LinksSettingsTab::isNotDefaultSymbol));
    m_defaultIcon->set_css_classes({ isDefault ? "success" : "dim-label" });
    m_makeDefault->set_visible(!isDefault);
    // Why the last change failed reads as part of the row it is about.
    adw_action_row_set_subtitle(m_defaultRow, m_tab.message().c_str());
}

void LinksPage::renderWorkspaceChoices()
{
    m_isRendering = true;
    // The options are replaced only when the workspaces changed: a new list drops the selection.
    if (auto names = m_tab.fallbackNames(); names != m_fallbackNames) {
        setOptions(m_fallback, names);
        m_fallbackNames = std::move(names);
    }
    adw_combo_row_set_selected(m_fallback, static_cast<guint>(m_tab.fallbackIndex()));
    auto targets = m_tab.targetNames();
    if (targets != m_targetNames) {
        m_target->set_model(stringList(targets));
        m_targetNames = targets;
    }
    m_target->set_selected(
        targets.empty() ? GTK_INVALID_LIST_POSITION : static_cast<guint>(m_tab.targetIndex()));
    if (gtk_editable_get_text(GTK_EDITABLE(m_pattern)) != m_tab.pattern)
        gtk_editable_set_text(GTK_EDITABLE(m_pattern), m_tab.pattern.c_str());
    m_add->set_sensitive(m_tab.canAdd());
    m_isRendering = false;
}

void LinksPage::renderRules()
{
    m_ruleConnections.clear();
    for (auto* row : m_ruleRows)
        adw_preferences_group_remove(m_rules, row);
    m_ruleRows.clear();
    auto rows = m_tab.ruleRows();
    for (const auto& rule : rows) {
        m_ruleRows.push_back(makeRuleRow(rule));
        adw_preferences_group_add(m_rules, m_ruleRows.back());
    }
    m_noRules->set_visible(rows.empty());
}

GtkWidget* LinksPage::makeRuleRow(const LinksSettingsTab::RuleRow& rule)
{
    auto* row = makeActionRow(rule.pattern);
    // The site in a fixed-width font, so that a pattern's dots and slashes stand out; it is the user's own
    // text, so it is escaped before it becomes markup.
    adw_preferences_row_set_use_markup(ADW_PREFERENCES_ROW(row), true);
    adw_preferences_row_set_title(
        ADW_PREFERENCES_ROW(row), ("<tt>" + Glib::Markup::escape_text(rule.pattern) + "</tt>").c_str());
    auto* arrow = Gtk::make_managed<Gtk::Image>();
    arrow->set_from_icon_name(iconNameForSymbol(LinksSettingsTab::arrowSymbol));
    arrow->add_css_class("dim-label");
    adw_action_row_add_suffix(row, GTK_WIDGET(arrow->gobj()));
    auto* workspace = makeLabel(rule.workspaceName);
    workspace->set_wrap(false);
    adw_action_row_add_suffix(row, GTK_WIDGET(workspace->gobj()));
    auto* remove = makeIconButton(iconNameForSymbol(LinksSettingsTab::removeSymbol),
        toUString(_(LinksSettingsTab::removeRuleDescription)));
    remove->set_valign(Gtk::Align::CENTER);
    m_ruleConnections.emplace_back(remove->signal_clicked().connect([this, id = rule.id] {
        // The rule's row, and this handler with it, go away while the rule is removed: nothing of the
        // handler is used after that.
        auto& alerts = m_alerts;
        if (!m_routingRules.removeRule(Uuid(id)))
            tellChangeNotSaved(alerts);
    }));
    adw_action_row_add_suffix(row, GTK_WIDGET(remove->gobj()));
    return GTK_WIDGET(row);
}

} // namespace cohortex
