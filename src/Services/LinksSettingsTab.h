#pragma once

#include "Support/Task.h"
#include "Support/Translation.h"
#include "Support/Uuid.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

class DefaultBrowser;
class RoutingRules;
class SessionManager;

// The Links tab of the settings window: whether Cohortex is the default browser, where links without a
// rule go, and the rule editor. The rules and the fallback are stored by their owners; this keeps the
// tab's own state (the new rule being typed, the last default-browser answer) and its decisions.
// Main thread only.
class LinksSettingsTab {
public:
    static constexpr std::string_view heading = N_("Link Routing");
    static constexpr std::string_view explanation = N_(
        "Make Cohortex your default browser and every link you click in your mail, chat or Slack opens in "
        "the right workspace.");
    static constexpr std::string_view isDefaultText = N_("Cohortex is your default browser");
    static constexpr std::string_view isNotDefaultText = N_("Cohortex is not your default browser");
    static constexpr std::string_view isDefaultSymbol = "checkmark.circle.fill";
    static constexpr std::string_view isNotDefaultSymbol = "circle";
    static constexpr std::string_view makeDefaultButtonTitle = N_("Make Default Browser");
    static constexpr std::string_view fallbackTitle = N_("Links with no rule open in");
    static constexpr std::string_view currentWorkspaceChoice = N_("The workspace I'm in");
    static constexpr std::string_view rulesHeading = N_("Rules");
    static constexpr std::string_view patternPlaceholder = N_("Site, e.g. github.com or github.com/acme");
    static constexpr std::string_view addButtonTitle = N_("Add");
    static constexpr std::string_view arrowSymbol = "arrow.right";
    static constexpr std::string_view removeSymbol = "minus.circle";
    static constexpr std::string_view removeRuleDescription = N_("Remove Rule");
    static constexpr std::string_view removedWorkspaceName = N_("Removed workspace");
    static constexpr std::string_view noRulesHint
        // TRANSLATORS: "Social" stands for the name of a workspace.
        = N_("No rules yet. For example: twitter.com \u2192 Social");

    // Asks the system once whether Cohortex is the default browser.
    LinksSettingsTab(SessionManager&, RoutingRules&, DefaultBrowser&);
    LinksSettingsTab(const LinksSettingsTab&) = delete;
    LinksSettingsTab& operator=(const LinksSettingsTab&) = delete;

    // The site typed for a new rule, and the workspace chosen for it (none: the first of the list).
    std::string pattern;
    std::optional<Uuid> targetId;

    bool isDefault() const { return m_isDefault; }
    // Why the last change of the default browser failed; empty after a success.
    const std::string& message() const { return m_message; }
    // Asks the system to hand web links to Cohortex, then reads back what it did.
    Task<void> makeDefault();

    // A pattern that normalises to nothing cannot be added.
    bool canAdd() const;
    // Adds the rule for the chosen workspace and empties the field. Without any workspace nothing
    // happens. False only when the rules could not be stored; the field then keeps its text.
    bool add();
    // The new rule's workspace picker: the workspaces' names in list order, and which one is chosen. A
    // chosen workspace that has been removed counts as none.
    std::vector<std::string> targetNames() const;
    std::size_t targetIndex() const;
    void chooseTarget(std::size_t index);

    // The fallback picker: the current workspace first, then each workspace in list order.
    std::vector<std::string> fallbackNames() const;
    // A fallback that names a removed workspace acts as, and shows as, the current workspace.
    std::size_t fallbackIndex() const;
    // Stored at once; false when it could not be stored.
    bool chooseFallback(std::size_t index);

    struct RuleRow {
        Uuid id;
        std::string pattern;
        std::string workspaceName;
    };
    // One row per rule in list order, naming its workspace, or saying that the workspace is gone.
    std::vector<RuleRow> ruleRows() const;

private:
    std::optional<Uuid> addTarget() const;

    SessionManager& m_sessions;
    RoutingRules& m_rules;
    DefaultBrowser& m_defaultBrowser;
    bool m_isDefault;
    std::string m_message;
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
