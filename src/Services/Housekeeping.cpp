#include "Services/Housekeeping.h"

#include "Engine/WebViewRegistry.h"
#include "Services/DataStores.h"
#include "Services/IdleTime.h"
#include "Services/ResourceMonitorService.h"
#include "Services/SessionManager.h"
#include "Services/TimeTracker.h"
#include "Services/WindowHost.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/MainQueue.h"
#include "Support/RepeatingTimer.h"

#include <set>

namespace cohortex {

Housekeeping::Housekeeping(Collaborators collaborators)
    : m_queue(collaborators.queue)
    , m_sessions(collaborators.sessions)
    , m_runtime(collaborators.runtime)
    , m_dataStores(collaborators.dataStores)
    , m_resources(collaborators.resources)
    , m_registry(collaborators.registry)
    , m_window(collaborators.window)
    , m_timeTracker(collaborators.timeTracker)
    , m_idleTime(collaborators.idleTime)
{
    m_runtime.setOnWillSleep([this](const Uuid& workspaceId) { recordFreedMemory(workspaceId); });
    startTimers();
    observeApplicationDeactivation();
    countSwitches();
}

Housekeeping::~Housekeeping()
{
    // The runtime and the window may outlive this object (they do in tests); their hooks must not call
    // into a dead one.
    m_runtime.setOnWillSleep(nullptr);
    m_window.setDeactivationObserver(nullptr);
}

void Housekeeping::startTimers()
{
    std::weak_ptr<bool> alive = m_alive;
    m_timers.push_back(std::make_unique<RepeatingTimer>(m_queue, tickInterval, [this, alive] {
        if (!alive.expired())
            timeTick();
    }));
    m_timers.push_back(std::make_unique<RepeatingTimer>(m_queue, sweepInterval, [this, alive] {
        if (!alive.expired())
            sweep(m_queue.now());
    }));
}

void Housekeeping::observeApplicationDeactivation()
{
    std::weak_ptr<bool> alive = m_alive;
    m_window.setDeactivationObserver([this, alive] {
        if (alive.expired())
            return;
        // The user has gone to another program: a good moment to write what a crash would lose.
        m_queue.post([this, alive] {
            if (alive.expired())
                return;
            m_runtime.flushIfNeeded();
            saveSessionsInBackground();
        });
    });
}

void Housekeeping::countSwitches()
{
    m_seenActiveWorkspaceId = m_sessions.activeWorkspaceId().get();
    m_activeWorkspaceChanges = m_sessions.activeWorkspaceId().changed().connect([this](const auto& id) {
        // Every activation assigns the id; only one that names another workspace is a switch.
        if (id && id != m_seenActiveWorkspaceId)
            m_resources.recordWorkspaceSwitch();
        m_seenActiveWorkspaceId = id;
    });
}

void Housekeeping::timeTick()
{
    bool visible = m_window.isMainWindowVisible();
    std::optional<Uuid> counted;
    if (auto active = m_sessions.activeWorkspace(); visible && active && !m_sessions.needsUnlock(*active))
        counted = active->id;
    m_runtime.flushIfNeeded();
    m_timeTracker.tick(counted, m_window.isApplicationActive(), visible, m_idleTime.systemIdleSeconds(),
        m_queue.now(), m_calendar);
}

std::optional<Uuid> Housekeeping::protectedWorkspaceId() const
{
    // Only a workspace actually on screen is safe from hibernation and relocking.
    if (!m_window.isMainWindowVisible())
        return std::nullopt;
    auto active = m_sessions.activeWorkspace();
    return active ? std::optional(active->id) : std::nullopt;
}

// Where the desktop does not say when the window is minimised, the window counts as out of sight once
// the user has not come back to it for as long as workspaces may sleep: its workspace ages from the last
// sweep that found the window focused, and loses its protection when that age reaches the limit.
std::optional<Uuid> Housekeeping::shownWorkspaceId(Date now)
{
    auto shown = protectedWorkspaceId();
    if (!shown || m_window.reportsMinimising() || m_window.isMainWindowKey()) {
        m_unfocusedSince.reset();
        if (shown)
            m_runtime.touch(*shown, now);
        return shown;
    }
    if (!m_unfocusedSince)
        m_unfocusedSince = now;
    auto sleepAfterMinutes = m_sessions.sleepAfterMinutes().get();
    bool outOfSight = sleepAfterMinutes > 0
        && now.secondsSince(*m_unfocusedSince) >= static_cast<double>(sleepAfterMinutes) * 60.0;
    return outOfSight ? std::nullopt : shown;
}

void Housekeeping::sweep(Date now)
{
    auto shown = shownWorkspaceId(now);
    std::set<Uuid> keepAwake;
    for (const auto& workspace : m_sessions.workspaces().get()) {
        if (workspace.isKeepAwake())
            keepAwake.insert(workspace.id);
    }
    m_runtime.sleepIdleWorkspaces(
        shown, static_cast<double>(m_sessions.sleepAfterMinutes().get()) * 60.0, now, keepAwake);
    m_runtime.relockIdle(shown, relockAfterSeconds, now);
    m_resources.refreshMemory();
    m_runtime.flushIfNeeded();
    saveSessionsInBackground();
}

void Housekeeping::saveSessionsInBackground()
{
    m_dataStores.saveSessionCookies(m_sessions.workspaces().get());
}

void Housekeeping::recordFreedMemory(const Uuid& workspaceId)
{
    // The figure of the last measurement, taken while the pages were there: what sleeping is about to
    // free. Reading the processes now would keep the main thread waiting on /proc.
    const auto& figures = m_resources.perWorkspaceMB().get();
    auto figure = figures.find(workspaceId);
    if (figure != figures.end() && figure->second > 0)
        m_resources.recordHibernation(figure->second);
}

} // namespace cohortex
