#pragma once

#include "Services/CommandLine.h"

namespace cohortex {

// Whether a Cohortex is running in this login session, reachable over the session bus. Without a bus
// (a script over SSH, say) nothing can be running that this process could reach.
bool isApplicationRunning();

// Runs a command that needs no window in this process, on the stored profile, without a display: the
// answer to a question about the stored state, or a file written or read. The exit status.
int runLocalCommand(const CommandLineInvocation&);

// Whether the stored profile has a workspace of that name, before Cohortex is started to open links in
// it: 0 when it has, else 1 with the error printed.
int checkWorkspaceNamed(std::string_view name);

} // namespace cohortex
