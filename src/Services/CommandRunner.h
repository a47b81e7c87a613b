#pragma once

#include "Models/WorkspaceSession.h"
#include "Services/CommandLine.h"
#include "Support/Task.h"

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace cohortex {

class Console;
class SessionManager;
class TeamSharing;
class TimeTracker;

// The workspace a user means by the name typed in a shell: the exact name first, else the first whose name
// differs only in case.
std::optional<WorkspaceSession> workspaceNamed(std::span<const WorkspaceSession>, std::string_view name);
// The error line for a name that matches no workspace, ready for the terminal.
std::string noWorkspaceNamedMessage(std::string_view name);

// Carries out a parsed command line against the session manager and the time tracker. Output, errors and
// questions go to the console the command came from. Main thread only.
class CommandRunner {
public:
    CommandRunner(SessionManager&, TimeTracker&, TeamSharing&);
    CommandRunner(const CommandRunner&) = delete;
    CommandRunner& operator=(const CommandRunner&) = delete;

    // Finishes with the exit status: 0 when the command did what it asked, else 1 with the reason on the
    // console's error stream. The console must outlive the task.
    Task<int> run(CommandLineInvocation, Console&);

private:
    int open(const CommandLineInvocation&);
    Task<int> openInWorkspace(CommandLineInvocation, Console&);
    int whichWorkspace(const CommandLineInvocation&, Console&) const;
    int listWorkspaces(const CommandLineInvocation&, Console&) const;
    int exportLayout(const CommandLineInvocation&, Console&) const;
    Task<int> importLayout(CommandLineInvocation, Console&);
    int exportTimeCsv(const CommandLineInvocation&, Console&) const;

    SessionManager& m_sessions;
    TimeTracker& m_timeTracker;
    TeamSharing& m_teamSharing;
    // Work resumed after a wait checks this before touching the runner.
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
