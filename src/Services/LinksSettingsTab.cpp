#include "Services/LinksSettingsTab.h"

#include "Models/LinkRouter.h"
#include "Services/DefaultBrowser.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Support/Translation.h"

#include <algorithm>

namespace cohortex {

namespace {

std::optional<std::size_t> indexOf(
    const std::vector<WorkspaceSession>& workspaces, const std::optional<Uuid>& id)
{
    if (!id)
        return std::nullopt;
    auto found = std::ranges::find(workspaces, *id, &WorkspaceSession::id);
    if (found == workspaces.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - workspaces.begin());
}

std::vector<std::string> namesOf(const std::vector<WorkspaceSession>& workspaces)
{
    std::vector<std::string> names;
    for (const auto& workspace : workspaces)
        names.push_back(workspace.name);
    return names;
}

} // namespace

LinksSettingsTab::LinksSettingsTab(
    SessionManager& sessions, RoutingRules& rules, DefaultBrowser& defaultBrowser)
    : m_sessions(sessions)
    , m_rules(rules)
    , m_defaultBrowser(defaultBrowser)
    , m_isDefault(defaultBrowser.isDefaultBrowser())
{
}

Task<void> LinksSettingsTab::makeDefault()
{
    std::weak_ptr<bool> alive = m_alive;
    auto failure = co_await m_defaultBrowser.makeDefault();
    if (alive.expired())
        co_return;
    m_message = failure ? defaultBrowserChangeFailure(*failure) : std::string();
    m_isDefault = m_defaultBrowser.isDefaultBrowser();
}

bool LinksSettingsTab::canAdd() const
{
    return !LinkRouter::normalize(pattern).empty();
}

std::optional<Uuid> LinksSettingsTab::addTarget() const
{
    const auto& workspaces = m_sessions.workspaces().get();
    if (auto index = indexOf(workspaces, targetId))
        return workspaces[*index].id;
    if (workspaces.empty())
        return std::nullopt;
    return workspaces.front().id;
}

bool LinksSettingsTab::add()
{
    auto workspaceId = addTarget();
    // Return in the field reaches here too, so the rule of the disabled button is checked again.
    if (!canAdd() || !workspaceId)
        return true;
    if (!m_rules.addRule(pattern, *workspaceId))
        return false;
    pattern.clear();
    return true;
}

std::vector<std::string> LinksSettingsTab::targetNames() const
{
    return namesOf(m_sessions.workspaces().get());
}

std::size_t LinksSettingsTab::targetIndex() const
{
    return indexOf(m_sessions.workspaces().get(), targetId).value_or(0);
}

void LinksSettingsTab::chooseTarget(std::size_t index)
{
    const auto& workspaces = m_sessions.workspaces().get();
    if (index < workspaces.size())
        targetId = workspaces[index].id;
}

std::vector<std::string> LinksSettingsTab::fallbackNames() const
{
    auto names = namesOf(m_sessions.workspaces().get());
    names.insert(names.begin(), _(currentWorkspaceChoice));
    return names;
}

std::size_t LinksSettingsTab::fallbackIndex() const
{
    auto index = indexOf(m_sessions.workspaces().get(), m_sessions.linkFallbackWorkspaceId().get());
    return index ? *index + 1 : 0;
}

bool LinksSettingsTab::chooseFallback(std::size_t index)
{
    const auto& workspaces = m_sessions.workspaces().get();
    if (index > workspaces.size())
        return true;
    auto id = index == 0 ? std::nullopt : std::optional(workspaces[index - 1].id);
    return m_sessions.setLinkFallbackWorkspaceId(id);
}

std::vector<LinksSettingsTab::RuleRow> LinksSettingsTab::ruleRows() const
{
    const auto& workspaces = m_sessions.workspaces().get();
    std::vector<RuleRow> rows;
    for (const auto& rule : m_rules.rules().get()) {
        auto index = indexOf(workspaces, rule.workspaceId);
        rows.push_back(
            RuleRow{ rule.id, rule.pattern, index ? workspaces[*index].name : _(removedWorkspaceName) });
    }
    return rows;
}

} // namespace cohortex
