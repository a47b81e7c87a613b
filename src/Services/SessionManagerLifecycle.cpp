#include "Services/KeyPress.h"
#include "Services/SessionManager.h"
#include "Services/WindowHost.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/MainQueue.h"
#include "Support/RepeatingTimer.h"

namespace cohortex {

void SessionManager::startTimers()
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

void SessionManager::installKeyMonitor()
{
    std::weak_ptr<bool> alive = m_alive;
    m_window.setKeyMonitor([this, alive](const KeyPress& key) { return !alive.expired() && handleKey(key); });
}

bool SessionManager::handleKey(const KeyPress& key)
{
    // Typing in the quick switcher, or in any window but the main one, keeps its keys.
    if (!m_window.mainWindowExists() || !m_window.isMainWindowKey() || m_showingQuickSwitcher.get())
        return false;
    if (!key.hasOnlyPrimaryModifier())
        return false;
    if (key.text == "t") {
        newTabInActiveWorkspace();
        return true;
    }
    // With nothing to close, Ctrl+W falls through to the window, which hides itself.
    if (key.text == "w")
        return closeActiveTab();
    return false;
}

void SessionManager::observeApplicationDeactivation()
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

} // namespace cohortex
