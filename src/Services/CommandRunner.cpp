#include "Services/CommandRunner.h"

#include "Services/Console.h"
#include "Services/SessionManager.h"
#include "Support/Json.h"
#include "Support/Text.h"
#include "Support/Translation.h"

#include <algorithm>
#include <cstddef>

namespace cohortex {

namespace {

std::string_view reasonName(RoutingReason reason)
{
    switch (reason) {
    case RoutingReason::Rule:
        return "rule";
    case RoutingReason::Fallback:
        return "fallback";
    case RoutingReason::Current:
        break;
    }
    return "current";
}

// Columns are measured in code points, which lines up every name written in a Latin, Greek or
// Cyrillic script; wide East Asian characters may push a row out by a few cells.
std::size_t displayWidth(std::string_view text)
{
    return static_cast<std::size_t>(std::ranges::count_if(
        text, [](char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }));
}

std::string padded(const std::string& text, std::size_t width)
{
    return text + std::string(width - std::min(width, displayWidth(text)), ' ');
}

// Shortcut numbers outside 1 to 9 open nothing, so they are shown as absent.
std::optional<std::int64_t> shortcut(const WorkspaceSession& workspace)
{
    if (workspace.shortcutIndex < 1 || workspace.shortcutIndex > SessionManager::maximumShortcutIndex)
        return std::nullopt;
    return workspace.shortcutIndex;
}

Json workspaceJson(const WorkspaceSession& workspace)
{
    auto index = shortcut(workspace);
    return Json{ { "id", workspace.id.string() }, { "name", workspace.name },
        { "shortcutIndex", index ? Json(*index) : Json(nullptr) },
        { "initialURL", workspace.initialURL.absoluteString() }, { "isLocked", workspace.isLocked() },
        { "isKeepAwake", workspace.isKeepAwake() }, { "hasProxy", workspace.hasProxy() } };
}

std::string flags(const WorkspaceSession& workspace)
{
    std::vector<std::string_view> words;
    if (workspace.isLocked())
        // TRANSLATORS: a mark after a workspace in "cohortex --list-workspaces", as are "keep awake" (the
        // workspace never goes to sleep) and "proxy" (its pages go through a proxy).
        words.push_back(_("locked"));
    if (workspace.isKeepAwake())
        words.push_back(_("keep awake"));
    if (workspace.hasProxy())
        words.push_back(_("proxy"));
    std::string text;
    for (auto word : words)
        text += (text.empty() ? "" : ", ") + std::string(word);
    return text;
}

std::string listTable(const std::vector<WorkspaceSession>& workspaces)
{
    std::size_t nameWidth = 0;
    std::size_t urlWidth = 0;
    for (const auto& workspace : workspaces) {
        nameWidth = std::max(nameWidth, displayWidth(terminalSafe(workspace.name)));
        urlWidth = std::max(urlWidth, displayWidth(terminalSafe(workspace.initialURL.absoluteString())));
    }
    std::string table;
    for (const auto& workspace : workspaces) {
        auto index = shortcut(workspace);
        std::string line = (index ? std::to_string(*index) : "-") + "  "
            + padded(terminalSafe(workspace.name), nameWidth) + "  "
            + padded(terminalSafe(workspace.initialURL.absoluteString()), urlWidth) + "  " + flags(workspace);
        line.erase(line.find_last_not_of(' ') + 1);
        table += line + "\n";
    }
    return table;
}

} // namespace

CommandRunner::CommandRunner(SessionManager& sessions, TimeTracker& timeTracker, TeamSharing& teamSharing)
    : m_sessions(sessions)
    , m_timeTracker(timeTracker)
    , m_teamSharing(teamSharing)
{
}

Task<int> CommandRunner::run(CommandLineInvocation invocation, Console& console)
{
    using Action = CommandLineInvocation::Action;
    switch (invocation.action) {
    case Action::Open:
        co_return open(invocation);
    case Action::OpenInWorkspace:
        co_return co_await openInWorkspace(std::move(invocation), console);
    case Action::WhichWorkspace:
        co_return whichWorkspace(invocation, console);
    case Action::ListWorkspaces:
        co_return listWorkspaces(invocation, console);
    case Action::ExportLayout:
        co_return exportLayout(invocation, console);
    case Action::ImportLayout:
        co_return co_await importLayout(std::move(invocation), console);
    case Action::ExportTimeCsv:
        co_return exportTimeCsv(invocation, console);
    case Action::RunCommand:
        // Window commands need the running application, which runs them itself.
        console.error(std::string(_("This needs the running Cohortex.")) + "\n");
        co_return 1;
    case Action::Help:
    case Action::Version:
    case Action::ShellCompletion:
        break;
    }
    console.out(commandLineUsage());
    co_return 0;
}

int CommandRunner::open(const CommandLineInvocation& invocation)
{
    // A bare `cohortex` typed while the application runs asks for its window.
    if (invocation.urls.empty())
        m_sessions.showMainWindow();
    else
        m_sessions.openURLs(invocation.urls);
    return 0;
}

Task<int> CommandRunner::openInWorkspace(CommandLineInvocation invocation, Console& console)
{
    auto target = workspaceNamed(m_sessions.workspaces().get(), invocation.workspaceName);
    if (!target) {
        console.error(noWorkspaceNamedMessage(invocation.workspaceName));
        co_return 1;
    }
    if (invocation.urls.empty()) {
        m_sessions.openWorkspace(*target);
        m_sessions.showMainWindow();
        co_return 0;
    }
    co_await m_sessions.openInWorkspace(target->id, std::move(invocation.urls));
    co_return 0;
}

std::optional<WorkspaceSession> workspaceNamed(std::span<const WorkspaceSession> list, std::string_view name)
{
    // A name that differs only in case is what a user typing in a shell most likely meant.
    auto found = std::ranges::find(list, name, &WorkspaceSession::name);
    if (found == list.end()) {
        auto lowered = toLowerCase(name);
        found = std::ranges::find_if(
            list, [&](const WorkspaceSession& workspace) { return toLowerCase(workspace.name) == lowered; });
    }
    if (found == list.end())
        return std::nullopt;
    return *found;
}

std::string noWorkspaceNamedMessage(std::string_view name)
{
    return fillIn(_("No workspace is named \"{}\"."), terminalSafe(name)) + "\n";
}

int CommandRunner::whichWorkspace(const CommandLineInvocation& invocation, Console& console) const
{
    auto decision = m_sessions.routingDecision(invocation.urls.front());
    if (!decision) {
        console.error(std::string(_("There is no workspace to open the link in.")) + "\n");
        return 1;
    }
    if (invocation.json) {
        Json object{ { "id", decision->workspace.id.string() }, { "name", decision->workspace.name },
            { "reason", reasonName(decision->reason) } };
        if (decision->reason == RoutingReason::Rule)
            object["pattern"] = decision->pattern;
        console.out(json::dumpAscii(object) + "\n");
        return 0;
    }
    auto name = terminalSafe(decision->workspace.name);
    std::string answer;
    switch (decision->reason) {
    case RoutingReason::Rule:
        // TRANSLATORS: "cohortex --which-workspace" answers with the workspace a link opens in ({0}) and
        // why: here the link rule for the site {1}.
        answer = fillIn(_("{} \u2014 rule {}"), name, terminalSafe(decision->pattern));
        break;
    case RoutingReason::Fallback:
        // TRANSLATORS: the workspace a link opens in ({}) because links without a rule go there.
        answer = fillIn(_("{} \u2014 fallback"), name);
        break;
    case RoutingReason::Current:
        // TRANSLATORS: the workspace a link opens in ({}) because it is the one in front.
        answer = fillIn(_("{} \u2014 current workspace"), name);
        break;
    }
    console.out(answer + "\n");
    return 0;
}

int CommandRunner::listWorkspaces(const CommandLineInvocation& invocation, Console& console) const
{
    const auto& workspaces = m_sessions.workspaces().get();
    if (!invocation.json) {
        console.out(listTable(workspaces));
        return 0;
    }
    auto array = Json::array();
    for (const auto& workspace : workspaces)
        array.push_back(workspaceJson(workspace));
    console.out(json::dumpAscii(array) + "\n");
    return 0;
}

} // namespace cohortex
