#pragma once

#include "Services/LinksSettingsTab.h"
#include "Support/ScopedConnection.h"
#include "Support/Task.h"
#include "UI/Settings/PreferenceRows.h"

#include <gtkmm/button.h>
#include <gtkmm/dropdown.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <memory>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace cohortex {

class Alerts;
class DefaultBrowser;
class RoutingRules;
class SessionManager;

// The Links tab: the default browser, where links without a rule go, and the rule editor. The pickers and
// the rule list follow the workspaces and the rules as they change.
class LinksPage {
public:
    struct Dependencies {
        SessionManager& sessions;
        RoutingRules& routingRules;
        DefaultBrowser& defaultBrowser;
        Alerts& alerts;
    };

    explicit LinksPage(Dependencies);
    LinksPage(const LinksPage&) = delete;
    LinksPage& operator=(const LinksPage&) = delete;

    GtkWidget* widget() const { return m_page; }

private:
    void build();
    AdwPreferencesGroup* makeRoutingGroup();
    AdwPreferencesGroup* makeRulesGroup();
    void bind();
    void render();
    void renderDefaultBrowser();
    void renderWorkspaceChoices();
    void renderRules();
    GtkWidget* makeRuleRow(const LinksSettingsTab::RuleRow&);
    void add();
    static Task<void> makeDefault(LinksPage*, std::weak_ptr<bool> alive);

    RoutingRules& m_routingRules;
    SessionManager& m_sessions;
    Alerts& m_alerts;
    LinksSettingsTab m_tab;
    GtkWidget* m_page{ nullptr };
    Gtk::Image* m_defaultIcon{ nullptr };
    AdwActionRow* m_defaultRow{ nullptr };
    Gtk::Button* m_makeDefault{ nullptr };
    AdwComboRow* m_fallback{ nullptr };
    std::vector<std::string> m_fallbackNames;
    GtkWidget* m_pattern{ nullptr };
    Gtk::DropDown* m_target{ nullptr };
    std::vector<std::string> m_targetNames;
    Gtk::Button* m_add{ nullptr };
    AdwPreferencesGroup* m_rules{ nullptr };
    std::vector<GtkWidget*> m_ruleRows;
    Gtk::Label* m_noRules{ nullptr };
    bool m_isRendering{ false };
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
    // Last, so that they are dropped first and nothing calls into a page being destroyed.
    std::vector<ScopedConnection> m_connections;
    std::vector<GSignalConnection> m_signals;
    // The remove buttons of the rule rows shown now.
    std::vector<ScopedConnection> m_ruleConnections;
};

} // namespace cohortex
