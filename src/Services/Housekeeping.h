#pragma once

#include "Support/Calendar.h"
#include "Support/Date.h"
#include "Support/ScopedConnection.h"
#include "Support/Uuid.h"

#include <memory>
#include <optional>
#include <vector>

namespace cohortex {

class DataStores;
class IdleTime;
class MainQueue;
class RepeatingTimer;
class ResourceMonitorService;
class SessionManager;
class TimeTracker;
class WebViewRegistry;
class WindowHost;
class WorkspaceRuntime;

// What runs in the background while the application is up: the 5-second tick (open tabs written if
// changed, time counted for the workspace on screen), the 30-second sweep (last use of the shown
// workspace, hibernation, relock, memory figures, open tabs and login cookies, in that order), the
// same writes when the application loses the focus, the memory a workspace frees as it goes to sleep,
// and the count of workspace switches. Main thread only; it stops when it goes.
class Housekeeping {
public:
    struct Collaborators {
        MainQueue& queue;
        SessionManager& sessions;
        WorkspaceRuntime& runtime;
        DataStores& dataStores;
        ResourceMonitorService& resources;
        WebViewRegistry& registry;
        WindowHost& window;
        TimeTracker& timeTracker;
        IdleTime& idleTime;
    };

    // Starts the two timers and the observers at once.
    explicit Housekeeping(Collaborators);
    ~Housekeeping();
    Housekeeping(const Housekeeping&) = delete;
    Housekeeping& operator=(const Housekeeping&) = delete;

    void timeTick();
    void sweep(Date now);
    // Nobody waits for it: the save finishes on its own while the user goes on.
    void saveSessionsInBackground();
    // The calendar whose days the time ledger counts in; the user's own unless a test sets one.
    void setCalendar(Calendar calendar) { m_calendar = std::move(calendar); }

    static constexpr double relockAfterSeconds = 300;
    static constexpr double tickInterval = 5.0;
    static constexpr double sweepInterval = 30.0;

private:
    std::optional<Uuid> protectedWorkspaceId() const;
    std::optional<Uuid> shownWorkspaceId(Date now);
    void recordFreedMemory(const Uuid& workspaceId);
    void startTimers();
    void observeApplicationDeactivation();
    void countSwitches();

    MainQueue& m_queue;
    SessionManager& m_sessions;
    WorkspaceRuntime& m_runtime;
    DataStores& m_dataStores;
    ResourceMonitorService& m_resources;
    WebViewRegistry& m_registry;
    WindowHost& m_window;
    TimeTracker& m_timeTracker;
    IdleTime& m_idleTime;
    Calendar m_calendar{ Calendar::current() };

    std::vector<std::unique_ptr<RepeatingTimer>> m_timers;
    std::optional<Uuid> m_seenActiveWorkspaceId;
    // Where minimising goes unreported: since when the window has been without the focus.
    std::optional<Date> m_unfocusedSince;
    ScopedConnection m_activeWorkspaceChanges;
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
