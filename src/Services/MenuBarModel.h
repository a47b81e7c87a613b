#pragma once

#include "Models/MenuBarLabel.h"
#include "Models/MenuBarMenu.h"
#include "Support/Observable.h"
#include "Support/ScopedConnection.h"

#include <vector>

namespace cohortex {

class ResourceMonitorService;
class SessionManager;
class WorkspaceRuntime;

// The tray's label and menu, kept in step with the workspaces, their live state and the memory readings.
// Each is published only when it differs from what was shown, so that the desktop is told about a change
// once and never about a page title that changed nothing it shows. Main thread only.
class MenuBarModel {
public:
    MenuBarModel(SessionManager&, WorkspaceRuntime&, ResourceMonitorService&);
    MenuBarModel(const MenuBarModel&) = delete;
    MenuBarModel& operator=(const MenuBarModel&) = delete;

    const Observable<MenuBarLabel>& label() const { return m_label; }
    const Observable<MenuBarMenu>& menu() const { return m_menu; }

private:
    void refresh();

    SessionManager& m_sessions;
    WorkspaceRuntime& m_runtime;
    ResourceMonitorService& m_resources;
    Observable<MenuBarLabel> m_label;
    Observable<MenuBarMenu> m_menu;
    std::vector<ScopedConnection> m_connections;
};

} // namespace cohortex
