#include "Services/PageNotifications.h"

#include "Services/DesktopNotifier.h"
#include "Services/SessionManager.h"
#include "Services/WorkspaceRuntime.h"

#include <algorithm>
#include <ranges>
#include <vector>

namespace cohortex {

namespace {

constexpr char separator = '/';

std::vector<std::string_view> fieldsOf(std::string_view text)
{
    std::vector<std::string_view> fields;
    for (auto field : std::views::split(text, separator))
        fields.emplace_back(field.begin(), field.end());
    return fields;
}

} // namespace

PageNotifications::PageNotifications(
    SessionManager& sessions, WorkspaceRuntime& runtime, DesktopNotifier& notifier)
    : m_sessions(sessions)
    , m_runtime(runtime)
    , m_notifier(notifier)
{
}

std::string PageNotifications::show(Notice notice)
{
    // Notifications of an earlier run may still be on screen: a fresh id never replaces one of them.
    auto id = "page-" + Uuid::random().string();
    auto workspace = m_sessions.workspace(notice.workspaceId);
    auto name = workspace ? workspace->name : std::string("Cohortex");
    auto title = notice.title.empty() ? name : notice.title + " \u2014 " + name;
    auto commandText = notice.workspaceId.string() + separator + notice.tabId.string() + separator + id;
    m_notifier.send({ .id = id,
        .title = title,
        .body = notice.body,
        .buttons = {},
        .defaultCommandName = openCommand,
        .defaultCommandText = commandText });
    if (notice.clicked)
        m_clickHandlers.emplace(id, std::move(notice.clicked));
    return id;
}

void PageNotifications::withdraw(const std::string& id)
{
    m_clickHandlers.erase(id);
    m_notifier.withdraw(id);
}

void PageNotifications::release(const std::string& id)
{
    m_clickHandlers.erase(id);
}

bool PageNotifications::open(std::string_view commandText)
{
    auto fields = fieldsOf(commandText);
    if (fields.size() != 3)
        return false;
    auto workspaceId = Uuid::parse(fields[0]);
    auto tabId = Uuid::parse(fields[1]);
    std::function<void()> clicked;
    if (auto found = m_clickHandlers.find(fields[2]); found != m_clickHandlers.end())
        clicked = std::move(m_clickHandlers.extract(found).mapped());
    auto workspace = workspaceId ? m_sessions.workspace(*workspaceId) : std::nullopt;
    if (!workspace || !tabId)
        return false;
    m_sessions.openWorkspace(*workspace);
    // A tab that went to sleep with its workspace is not there any more; the workspace is what is left.
    const auto& tabs = m_runtime.tabs(workspace->id);
    if (std::ranges::any_of(tabs, [&](const auto& tab) { return tab.id == *tabId; }))
        m_runtime.selectTab(*tabId, workspace->id);
    m_sessions.showMainWindow();
    if (clicked)
        clicked();
    return true;
}

} // namespace cohortex
