#include "Services/PageNotifications.h"

#include "Services/DesktopNotifier.h"
#include "Services/SessionManager.h"
#include "Services/WorkspaceRuntime.h"

#include <algorithm>
#include <random>

namespace cohortex {

namespace {

int randomStart()
{
    std::random_device device;
    return std::uniform_int_distribution<int>(1, 1 << 30)(device);
}

std::string titleOf(const std::string& pageTitle, const std::string& workspaceName)
{
    return pageTitle.empty() ? workspaceName : pageTitle + " \u2014 " + workspaceName;
}

std::string bodyOf(const std::string& title, const std::string& body)
{
    if (title.empty() || body.empty())
        return title + body;
    return title + "\n" + body;
}

} // namespace

PageNotifications::PageNotifications(
    SessionManager& sessions, WorkspaceRuntime& runtime, DesktopNotifier& notifier)
    : m_sessions(sessions)
    , m_runtime(runtime)
    , m_notifier(notifier)
    , m_nextNumber(randomStart())
{
}

std::string PageNotifications::idOf(int number) const
{
    return "page-" + std::to_string(number);
}

int PageNotifications::show(Notice notice)
{
    int number = m_nextNumber++;
    auto workspace = m_sessions.workspace(notice.workspaceId);
    auto title = titleOf(notice.pageTitle, workspace ? workspace->name : std::string("Cohortex"));
    auto body = bodyOf(notice.title, notice.body);
    auto id = idOf(number);
    m_notifier.send({ .id = id,
        .title = title,
        .body = body,
        .buttons = {},
        .defaultCommandName = openCommand,
        .commandArgument = number });
    m_shown.emplace(number, Shown{ notice.workspaceId, notice.tabId, std::move(notice.clicked) });
    return number;
}

void PageNotifications::withdraw(int number)
{
    if (m_shown.erase(number))
        m_notifier.withdraw(idOf(number));
}

void PageNotifications::release(int number)
{
    if (auto found = m_shown.find(number); found != m_shown.end())
        found->second.clicked = {};
}

bool PageNotifications::open(int number)
{
    auto found = m_shown.find(number);
    if (found == m_shown.end())
        return false;
    auto shown = std::move(m_shown.extract(found).mapped());
    auto workspace = m_sessions.workspace(shown.workspaceId);
    if (!workspace)
        return false;
    m_sessions.openWorkspace(*workspace);
    // A tab closed since, or one that went to sleep with its workspace, is not there any more; the
    // workspace is what is left.
    const auto& tabs = m_runtime.tabs(workspace->id);
    if (std::ranges::any_of(tabs, [&](const auto& tab) { return tab.id == shown.tabId; }))
        m_runtime.selectTab(shown.tabId, workspace->id);
    m_sessions.showMainWindow();
    if (shown.clicked)
        shown.clicked();
    return true;
}

} // namespace cohortex
