#include "Engine/WebViewRegistry.h"
#include "Services/DataStores.h"
#include "Services/ResourceMonitorService.h"
#include "Services/SessionManager.h"
#include "Services/WindowHost.h"
#include "Services/WorkspaceRuntime.h"

#include <set>

namespace cohortex {

std::optional<Uuid> SessionManager::protectedWorkspaceId() const
{
    // Only a workspace actually on screen is safe from hibernation and relocking.
    if (!m_window.isMainWindowVisible())
        return std::nullopt;
    auto active = activeWorkspace();
    return active ? std::optional(active->id) : std::nullopt;
}

void SessionManager::sweep(Date now)
{
    auto shown = protectedWorkspaceId();
    if (shown)
        m_runtime.touch(*shown, now);
    std::set<Uuid> keepAwake;
    for (const auto& workspace : m_workspaces.get()) {
        if (workspace.isKeepAwake())
            keepAwake.insert(workspace.id);
    }
    m_runtime.sleepIdleWorkspaces(
        shown, static_cast<double>(m_sleepAfterMinutes.get()) * 60.0, now, keepAwake);
    m_runtime.relockIdle(shown, relockAfterSeconds, now);
    m_resources.refreshMemory();
    m_runtime.flushIfNeeded();
    saveSessionsInBackground();
}

void SessionManager::saveSessionsInBackground()
{
    // Nobody waits for it: the save finishes on its own while the user goes on.
    m_dataStores.saveSessionCookies(m_workspaces.get());
}

void SessionManager::installWillSleepHook()
{
    m_runtime.setOnWillSleep([this](const Uuid& workspaceId) { recordFreedMemory(workspaceId); });
}

void SessionManager::recordFreedMemory(const Uuid& workspaceId)
{
    // Measured before the pages go, so the figure is what sleeping is about to free.
    auto measurement = m_registry.measure();
    auto figure = measurement.perWorkspace.find(workspaceId);
    if (figure != measurement.perWorkspace.end() && figure->second > 0)
        m_resources.recordHibernation(figure->second);
}

} // namespace cohortex
