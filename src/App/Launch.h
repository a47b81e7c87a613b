#pragma once

namespace cohortex {

class Alerts;

// Everything `cohortex` does with its command line: a question answered on the stored profile, the
// arguments handed to a running Cohortex, or the application started. The process's exit status.
//
// Alerts, when given, answer every question the application would ask in a dialog. Only test programs
// pass them; the installed program never does, so nothing in its environment can confirm for the user.
int runCohortex(int argc, char* argv[], Alerts* alertsInsteadOfDialogs = nullptr);

} // namespace cohortex
