#pragma once

#include "Models/SwitcherItem.h"

#include <vector>

namespace cohortex {

class Presentation;
class SessionManager;
class WorkspaceRuntime;

// The quick switcher's rows for the workspaces and tabs as they are now, in list order: each workspace,
// followed by one row per tab when it has two or more (a single tab adds nothing its workspace's row does
// not already offer).
std::vector<SwitcherItem> switcherItems(const SessionManager&, const WorkspaceRuntime&);

// Goes to the row's workspace, and tab if it names one, and closes the panel.
void selectSwitcherItem(SessionManager&, WorkspaceRuntime&, Presentation&, const SwitcherItem&);

} // namespace cohortex
