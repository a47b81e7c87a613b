#pragma once

#include "Models/BrowserTab.h"
#include "Models/WorkspaceSession.h"
#include "Services/Authenticating.h"
#include "Services/OpenTabStore.h"
#include "Support/Observable.h"
#include "Support/StoredRecord.h"
#include "Support/Task.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <vector>

namespace cohortex {

class DefaultsStore;

using TabTable = std::map<Uuid, std::vector<BrowserTab>>;

// The live state of every workspace: tabs, active tab, the sleeping and unlocked sets, last use and
// the tabs using camera or microphone. A workspace is loaded exactly when it has an entry in tabs().
// Between operations no workspace is both loaded and saved, and a loaded workspace has a tab.
class WorkspaceRuntime final {
public:
    // Without a defaults store nothing is persisted. Reads the open-tab store once.
    explicit WorkspaceRuntime(DefaultsStore*);

    // Observed tables.
    const Observable<TabTable>& tabs() const { return m_tabs; }
    const Observable<std::map<Uuid, Uuid>>& activeTabID() const { return m_activeTabID; }
    const Observable<std::set<Uuid>>& sleeping() const { return m_sleeping; }
    const Observable<std::set<Uuid>>& unlocked() const { return m_unlocked; }

    void load(const WorkspaceSession&, Date now);
    // Loads a workspace that is not loaded straight onto the last of the links, each in a new tab after its
    // own: its own tabs (restored, or its start page) and the other links get a page when first selected,
    // so the link that woke the workspace is the only page it loads. False, and nothing done, when the
    // workspace was loaded already or there are no links.
    bool loadOnto(const WorkspaceSession&, std::span<const Url> links, Date now);
    void touch(const Uuid& workspaceId, Date now);
    bool isLoaded(const Uuid& workspaceId) const;
    std::size_t loadedCount() const { return m_tabs.get().size(); }
    const std::vector<BrowserTab>& tabs(const Uuid& workspaceId) const;
    std::optional<BrowserTab> activeTab(const Uuid& workspaceId) const;
    std::optional<Date> lastActive(const Uuid& workspaceId) const;

    std::optional<Uuid> newTab(const Uuid& workspaceId, const Url&);
    // Adds tabs after the others without selecting any of them. None gets a page until it is first
    // selected, so a thousand links handed over at once cost a thousand entries, not a thousand pages.
    void addBackgroundTabs(const Uuid& workspaceId, std::span<const Url>);
    // Tabs opened in the background that have never been selected.
    const std::set<Uuid>& unshownTabs() const { return m_unshownTabs; }
    void closeTab(const Uuid& tabId, const Uuid& workspaceId);
    void selectTab(const Uuid& tabId, const Uuid& workspaceId);
    void updateTab(
        const Uuid& tabId, const Uuid& workspaceId, std::optional<std::string> title, std::optional<Url>);
    void setCapturing(const Uuid& tabId, bool capturing);
    bool isCapturing(const Uuid& tabId) const { return m_capturing.contains(tabId); }

    std::int64_t unreadCount(const Uuid& workspaceId) const;
    std::int64_t totalUnread() const;

    void sleep(const Uuid& workspaceId);
    void forget(const Uuid& workspaceId);
    // Called just before a workspace with tabs goes to sleep, while its pages can still be measured.
    void setOnWillSleep(std::function<void(const Uuid&)> hook) { m_onWillSleep = std::move(hook); }

    bool isUnlocked(const Uuid& workspaceId) const { return m_unlocked.get().contains(workspaceId); }
    void markUnlocked(const Uuid& workspaceId);
    void lockNow(const Uuid& workspaceId);
    // One prompt per workspace at a time: a second call while one is up answers Failed at once.
    Task<Authentication> unlock(Uuid workspaceId, std::string name, Authenticating&, Date now);
    bool isUnlocking(const Uuid& workspaceId) const { return m_unlocking.contains(workspaceId); }

    std::vector<Uuid> sleepIdleWorkspaces(
        std::optional<Uuid> activeID, double idleAfter, Date now, const std::set<Uuid>& keepAwake);
    std::vector<Uuid> relockIdle(std::optional<Uuid> activeID, double after, Date now);

    // The open-tab store.
    void saveNow();
    void flushIfNeeded();
    bool isDirty() const { return m_dirty; }
    OpenTabSnapshots currentSnapshot() const;

private:
    void markDirty() { m_dirty = true; }
    void loadTabs(const WorkspaceSession&, Date now, std::span<const Url> links);
    void restoreFromDisk();
    void write();
    void setActiveTab(const Uuid& workspaceId, const Uuid& tabId);
    void dropLiveState(const Uuid& workspaceId);
    bool hasCapturingTab(const Uuid& workspaceId) const;
    double idleSeconds(const Uuid& workspaceId, Date now) const;

    Observable<TabTable> m_tabs;
    Observable<std::map<Uuid, Uuid>> m_activeTabID;
    Observable<std::set<Uuid>> m_sleeping;
    Observable<std::set<Uuid>> m_unlocked;
    std::map<Uuid, SavedSession> m_saved;
    std::map<Uuid, Date> m_lastActive;
    std::set<Uuid> m_capturing;
    std::set<Uuid> m_unshownTabs;
    std::set<Uuid> m_unlocking;
    // Unread counts per tab, read when a title changes rather than on every query.
    std::map<Uuid, std::int64_t> m_unreadByTab;
    std::function<void(const Uuid&)> m_onWillSleep;
    std::optional<StoredRecord> m_storedTabs;
    bool m_dirty{ false };
};

} // namespace cohortex
