#include "Services/StoredKeys.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/DefaultsStore.h"
#include "Support/Log.h"

namespace cohortex {

OpenTabSnapshots WorkspaceRuntime::currentSnapshot() const
{
    OpenTabSnapshots snapshots;
    const auto& activeIds = m_activeTabID.get();
    for (const auto& [workspaceId, list] : m_tabs.get()) {
        auto active = activeIds.find(workspaceId);
        TabSnapshot snapshot;
        // Only web pages come back after a relaunch; blank, file and data pages are left out.
        for (const auto& tab : list) {
            if (!isWebURL(tab.url))
                continue;
            if (active != activeIds.end() && tab.id == active->second)
                snapshot.activeIndex = static_cast<std::int64_t>(snapshot.urls.size());
            snapshot.urls.push_back(tab.url.absoluteString());
        }
        if (!snapshot.urls.empty())
            snapshots[workspaceId.string()] = std::move(snapshot);
    }
    for (const auto& [workspaceId, saved] : m_saved) {
        if (isLoaded(workspaceId))
            continue;
        // Written as kept; reading filters and clamps, so a later relaunch still sees the same tabs.
        TabSnapshot snapshot{ {}, saved.activeIndex };
        for (const auto& url : saved.urls)
            snapshot.urls.push_back(url.absoluteString());
        snapshots[workspaceId.string()] = std::move(snapshot);
    }
    return snapshots;
}

void WorkspaceRuntime::saveNow()
{
    m_dirty = false;
    write();
}

void WorkspaceRuntime::flushIfNeeded()
{
    if (!m_dirty)
        return;
    m_dirty = false;
    write();
}

void WorkspaceRuntime::write()
{
    if (!m_storedTabs)
        return;
    if (!m_storedTabs->save(encodeOpenTabs(currentSnapshot())))
        logWarning("The open tabs could not be saved.");
}

void WorkspaceRuntime::restoreFromDisk()
{
    if (!m_storedTabs)
        return;
    auto stored = m_storedTabs->load();
    if (!stored)
        return;
    auto snapshots = decodeOpenTabs(*stored);
    // Unreadable data is left in place; the next write replaces it.
    if (!snapshots) {
        logWarning("The stored open tabs could not be read (" + snapshots.error().message + ").");
        return;
    }
    m_saved = restoredSessions(*snapshots);
}

} // namespace cohortex
