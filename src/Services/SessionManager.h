#pragma once

#include "Models/RoutingDecision.h"
#include "Models/WorkspaceBundle.h"
#include "Models/WorkspaceSession.h"
#include "Services/Authenticating.h"
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

class DataStores;
class DefaultsStore;
class Keychain;
class MainQueue;
class RoutingRules;
class WindowHost;
class WorkspaceRuntime;

// The central controller: the ordered workspace list and its stored form, the active workspace and its
// activation, loading and locking, link orchestration and the two preferences. Main thread only. Its
// operations are split by concern over several files; this header is the one place its shared state is
// declared. What the window presents is Presentation's, the background duties are Housekeeping's, and
// the team's layout file is TeamSharing's.
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
        WindowHost& window;
    };

    explicit SessionManager(Collaborators);
    ~SessionManager();
    SessionManager(const SessionManager&) = delete;
    SessionManager& operator=(const SessionManager&) = delete;

    // Observable state.
    const Observable<std::vector<WorkspaceSession>>& workspaces() const { return m_workspaces; }
    const Observable<std::optional<Uuid>>& activeWorkspaceId() const { return m_activeWorkspaceId; }
    const Observable<std::optional<Uuid>>& linkFallbackWorkspaceId() const
    {
        return m_linkFallbackWorkspaceId;
    }
    const Observable<std::int64_t>& sleepAfterMinutes() const { return m_sleepAfterMinutes; }
    const Observable<bool>& keepSessionsAfterQuit() const { return m_keepSessionsAfterQuit; }

    // The workspace list. A change is stored before it is shown: when the write fails, the list in memory
    // stays the stored one and the change answers false, for the caller to tell the user.
    bool addWorkspace(std::string name, Url initialURL, std::string iconSymbol, std::string colorHex);
    bool updateWorkspace(const WorkspaceSession&);
    bool removeWorkspace(const Uuid& id);
    std::optional<WorkspaceSession> workspace(const Uuid& id) const;
    struct ImportCounts {
        int workspaces{ 0 };
        int rules{ 0 };
    };
    // Adds the bundle's workspaces and rules, or nothing at all: when either cannot be stored, both stay
    // as they were, in memory and in store, and the error says so.
    Expected<ImportCounts> apply(const WorkspaceBundle&);

    // Preferences; each is stored at once, and keeps its old value when that fails (false).
    bool setSleepAfterMinutes(std::int64_t minutes);
    bool setKeepSessionsAfterQuit(bool);
    bool setLinkFallbackWorkspaceId(std::optional<Uuid>);

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
    // False when nothing was closed (no active tab, or only one tab left).
    bool closeActiveTab();
    void showMainWindow();
    void toggleMainWindow();

    // Links from other programs: a rule's workspace, else the fallback, else the active one.
    std::optional<WorkspaceSession> targetWorkspace(const Url&) const;
    // The same choice with its reason; nothing only when there is no workspace at all.
    std::optional<RoutingDecision> routingDecision(const Url&) const;
    // Opens a web link in a new tab of its workspace, asking for the owner first when it is locked.
    void route(const Url&);
    // URLs and files handed over by the system, in order: workspace files go to the file handler, links
    // are routed. Of the links handed over together only the last is shown and loaded; the others open as
    // tabs in the background that load when first selected.
    void openURLs(std::vector<Url>);
    // What takes the workspace files among the URLs handed over (the import), awaited in order.
    void setFileHandler(std::function<Task<void>(std::filesystem::path)>);
    // Web links opened in new tabs of one chosen workspace, the last one shown, asking for the owner once
    // first when it is locked; a refused unlock drops them all. Other links are passed over.
    Task<void> openInWorkspace(Uuid workspaceId, std::vector<Url>);

    static constexpr std::int64_t maximumShortcutIndex = 9;

private:
    bool saveWorkspaces();
    // Stores the list, then shows it; false, and nothing changed in memory, when the write fails.
    bool commitWorkspaces(std::vector<WorkspaceSession>);
    void readPreferences();
    void restoreLinkFallback();
    void loadWorkspaces();
    void replaceUnreadableList(const std::optional<Bytes>& unreadable);
    void activate(const WorkspaceSession&);
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

    MainQueue& m_queue;
    DefaultsStore& m_defaults;
    WorkspaceRuntime& m_runtime;
    DataStores& m_dataStores;
    Keychain& m_keychain;
    RoutingRules& m_routingRules;
    Authenticating& m_authenticator;
    WindowHost& m_window;
    StoredRecord m_storedList;

    Observable<std::vector<WorkspaceSession>> m_workspaces;
    Observable<std::optional<Uuid>> m_activeWorkspaceId;
    Observable<std::optional<Uuid>> m_linkFallbackWorkspaceId;
    Observable<std::int64_t> m_sleepAfterMinutes{ 30 };
    Observable<bool> m_keepSessionsAfterQuit{ true };
    bool m_proxyPasswordChanged{ false };
    std::function<Task<void>(std::filesystem::path)> m_fileHandler;

    // Work scheduled for later checks this before touching the manager.
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
