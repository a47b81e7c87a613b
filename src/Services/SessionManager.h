#pragma once

#include "Models/RoutingDecision.h"
#include "Models/SwitcherItem.h"
#include "Models/WorkspaceBundle.h"
#include "Models/WorkspaceSession.h"
#include "Services/Authenticating.h"
#include "Support/Calendar.h"
#include "Support/DefaultsStore.h"
#include "Support/Error.h"
#include "Support/Observable.h"
#include "Support/StoredRecord.h"
#include "Support/Task.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cohortex {

class Alerts;
class DataStores;
class IdleTime;
struct KeyPress;
class DefaultsStore;
class Keychain;
class MainQueue;
class RepeatingTimer;
class ResourceMonitorService;
class RoutingRules;
class TimeTracker;
class WebViewRegistry;
class WindowHost;
class WorkspaceRuntime;

// The central controller: the ordered workspace list and its stored form, the active workspace, the
// sheet flags and the two preferences. Main thread only. Its operations are split by concern over
// several files; this header is the one place its shared state is declared.
class SessionManager {
public:
    struct Collaborators {
        MainQueue& queue;
        DefaultsStore& defaults;
        WorkspaceRuntime& runtime;
        DataStores& dataStores;
        Keychain& keychain;
        RoutingRules& routingRules;
        Authenticating& authenticator;
        ResourceMonitorService& resources;
        WebViewRegistry& registry;
        WindowHost& window;
        TimeTracker& timeTracker;
        IdleTime& idleTime;
        Alerts& alerts;
    };

    explicit SessionManager(Collaborators);
    ~SessionManager();
    SessionManager(const SessionManager&) = delete;
    SessionManager& operator=(const SessionManager&) = delete;

    // Observable state.
    const Observable<std::vector<WorkspaceSession>>& workspaces() const { return m_workspaces; }
    const Observable<std::optional<Uuid>>& activeWorkspaceId() const { return m_activeWorkspaceId; }
    const Observable<bool>& showingCreateModal() const { return m_showingCreateModal; }
    const Observable<bool>& showingPreferencesModal() const { return m_showingPreferencesModal; }
    const Observable<std::optional<Uuid>>& workspaceSettingsID() const { return m_workspaceSettingsID; }
    const Observable<bool>& showingQuickSwitcher() const { return m_showingQuickSwitcher; }
    const Observable<std::optional<Uuid>>& linkFallbackWorkspaceId() const
    {
        return m_linkFallbackWorkspaceId;
    }
    const Observable<std::int64_t>& sleepAfterMinutes() const { return m_sleepAfterMinutes; }
    const Observable<bool>& keepSessionsAfterQuit() const { return m_keepSessionsAfterQuit; }

    // The workspace list. A change is stored before it is shown: when the write fails, the list in memory
    // stays the stored one and the change answers false, for the caller to tell the user.
    bool saveWorkspaces();
    bool addWorkspace(std::string name, Url initialURL, std::string iconSymbol, std::string colorHex);
    bool updateWorkspace(const WorkspaceSession&);
    bool removeWorkspace(const Uuid& id);
    std::optional<WorkspaceSession> workspace(const Uuid& id) const;

    // Preferences; each is stored at once, and keeps its old value when that fails (false).
    bool setSleepAfterMinutes(std::int64_t minutes);
    bool setKeepSessionsAfterQuit(bool);
    bool setLinkFallbackWorkspaceId(std::optional<Uuid>);

    // Sheets: one at a time. A sheet closes itself by clearing its flag.
    void showCreateModal();
    void showSettings();
    void showWorkspaceSettings(const WorkspaceSession&);
    void setShowingCreateModal(bool shown) { m_showingCreateModal.set(shown); }
    void setShowingPreferencesModal(bool shown) { m_showingPreferencesModal.set(shown); }
    void setWorkspaceSettingsID(std::optional<Uuid> id) { m_workspaceSettingsID.set(id); }
    void setShowingQuickSwitcher(bool shown) { m_showingQuickSwitcher.set(shown); }

    // Set by the workspace settings sheet when a new proxy password was typed; consumed by
    // updateWorkspace, which then re-applies the proxy even if no proxy field changed.
    bool proxyPasswordChanged() const { return m_proxyPasswordChanged; }
    void setProxyPasswordChanged(bool changed) { m_proxyPasswordChanged = changed; }

    // Activation: every switch ends in openWorkspace or activate.
    std::optional<WorkspaceSession> activeWorkspace() const;
    void openWorkspace(const WorkspaceSession&);
    void openWorkspace(std::int64_t shortcutIndex);
    void ensureActiveLoaded();
    bool needsUnlock(const WorkspaceSession&) const;
    // Asks the owner to authenticate, then loads the workspace if it is still the active one.
    Task<Authentication> unlock(WorkspaceSession);
    void sleepNow(const WorkspaceSession&);
    void lockNow(const WorkspaceSession&);
    void newTabInActiveWorkspace(std::optional<Url> = std::nullopt);
    // False when nothing was closed (no active tab, or only one tab left) so the key can fall through.
    bool closeActiveTab();
    void showMainWindow();
    void toggleMainWindow();
    void saveSessionsInBackground();

    // Links from other programs: a rule's workspace, else the fallback, else the active one.
    std::optional<WorkspaceSession> targetWorkspace(const Url&) const;
    // The same choice with its reason; nothing only when there is no workspace at all.
    std::optional<RoutingDecision> routingDecision(const Url&) const;
    // Opens a web link in a new tab of its workspace, asking for the owner first when it is locked.
    void route(const Url&);
    // URLs and files handed over by the system, in order: workspace files are imported, links routed.
    // Of the links handed over together only the last is shown and loaded; the others open as tabs in
    // the background that load when first selected.
    void openURLs(std::vector<Url>);
    // Web links opened in new tabs of one chosen workspace, the last one shown, asking for the owner once
    // first when it is locked; a refused unlock drops them all. Other links are passed over.
    Task<void> openInWorkspace(Uuid workspaceId, std::vector<Url>);

    // The quick switcher.
    std::vector<SwitcherItem> switcherItems() const;
    void select(const SwitcherItem&);
    void showQuickSwitcher();

    // Team layouts.
    std::string exportData() const;
    struct ImportCounts {
        int workspaces{ 0 };
        int rules{ 0 };
    };
    // Adds the bundle's workspaces and rules, or nothing at all: when either cannot be stored, both stay
    // as they were, in memory and in store, and the error says so.
    Expected<ImportCounts> apply(const WorkspaceBundle&);
    // Reads, confirms, applies and reports; a file that cannot be read shows the one error alert.
    Task<void> confirmAndImport(std::filesystem::path);

    // The 5-second tick: open tabs written if changed, then time counted for the workspace on screen.
    void timeTick();
    // The calendar whose days the time ledger counts in; the user's own unless a test sets one.
    void setCalendar(Calendar calendar) { m_calendar = std::move(calendar); }

    // The 30-second sweep: last use of the shown workspace, hibernation, relock, memory figures,
    // open tabs and login cookies, in that order.
    void sweep(Date now);
    static constexpr double relockAfterSeconds = 300;
    static constexpr double tickInterval = 5.0;
    static constexpr double sweepInterval = 30.0;

    // The gap between dismissing one sheet and presenting the next, so their animations do not collide.
    static constexpr double sheetGapSeconds = 0.45;
    static constexpr std::int64_t maximumShortcutIndex = 9;

private:
    // Stores the list, then shows it; false, and nothing changed in memory, when the write fails.
    bool commitWorkspaces(std::vector<WorkspaceSession>);
    void readPreferences();
    void restoreLinkFallback();
    void loadWorkspaces();
    void replaceUnreadableList(const std::optional<Bytes>& unreadable);
    void activate(const WorkspaceSession&);
    std::optional<Uuid> protectedWorkspaceId() const;
    void recordFreedMemory(const Uuid& workspaceId);
    // The active workspace if it is still the given one and open to its owner: what a coroutine
    // resuming after a wait may go on loading.
    std::optional<WorkspaceSession> stillShownAndOpen(const Uuid& workspaceId) const;
    Task<void> loadWhenPrepared(WorkspaceSession);
    Task<void> openTabWhenPrepared(WorkspaceSession, Url);
    // Web links to the workspaces their rules choose, grouped by workspace; the last one is shown.
    Task<void> openLinks(std::vector<Url>);
    // New tabs in one workspace once its owner and its store are ready: the last one shown and the
    // workspace switched to when showsLast, else all in the background.
    Task<void> openInto(WorkspaceSession, std::vector<Url>, bool showsLast);
    Task<void> openInOrder(std::vector<Url>);
    void applyProxyChange(const WorkspaceSession& old, const WorkspaceSession& updated);
    void applyLockChange(const WorkspaceSession& old, const WorkspaceSession& updated);
    bool anyModalOpen() const;
    void presentModal(bool alreadyOpen, std::function<void()> action);

    // Steps of construction that other concerns fill in, in the order they run.
    void registerGlobalShortcuts();
    void installWillSleepHook();
    void startTimers();
    void installKeyMonitor();
    void observeApplicationDeactivation();
    // The window's own shortcuts that act on tabs: true when the key was used up.
    bool handleKey(const KeyPress&);

    MainQueue& m_queue;
    DefaultsStore& m_defaults;
    WorkspaceRuntime& m_runtime;
    DataStores& m_dataStores;
    Keychain& m_keychain;
    RoutingRules& m_routingRules;
    Authenticating& m_authenticator;
    ResourceMonitorService& m_resources;
    WebViewRegistry& m_registry;
    WindowHost& m_window;
    TimeTracker& m_timeTracker;
    IdleTime& m_idleTime;
    Alerts& m_alerts;
    Calendar m_calendar{ Calendar::current() };
    StoredRecord m_storedList;

    Observable<std::vector<WorkspaceSession>> m_workspaces;
    Observable<std::optional<Uuid>> m_activeWorkspaceId;
    Observable<bool> m_showingCreateModal{ false };
    Observable<bool> m_showingPreferencesModal{ false };
    Observable<std::optional<Uuid>> m_workspaceSettingsID;
    Observable<bool> m_showingQuickSwitcher{ false };
    Observable<std::optional<Uuid>> m_linkFallbackWorkspaceId;
    Observable<std::int64_t> m_sleepAfterMinutes{ 30 };
    Observable<bool> m_keepSessionsAfterQuit{ true };
    bool m_proxyPasswordChanged{ false };
    // The tick and the sweep; they stop when the manager goes.
    std::vector<std::unique_ptr<RepeatingTimer>> m_timers;

    // Work scheduled for later checks this before touching the manager.
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
