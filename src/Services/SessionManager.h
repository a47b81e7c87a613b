#pragma once

#include "Models/WorkspaceSession.h"
#include "Support/DefaultsStore.h"
#include "Support/Observable.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cohortex {

class DataStores;
class DefaultsStore;
class Keychain;
class LiveWorkspaces;
class MainQueue;
class RoutingRuleStore;

// The central controller: the ordered workspace list and its stored form, the active workspace, the
// sheet flags and the two preferences. Main thread only. Its operations are split by concern over
// several files; this header is the one place its shared state is declared.
class SessionManager {
public:
    struct Collaborators {
        MainQueue& queue;
        DefaultsStore& defaults;
        LiveWorkspaces& runtime;
        DataStores& dataStores;
        Keychain& keychain;
        RoutingRuleStore& routingRules;
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

    // The workspace list.
    void saveWorkspaces();
    void addWorkspace(std::string name, Url initialURL, std::string iconSymbol, std::string colorHex);
    void updateWorkspace(const WorkspaceSession&);
    void removeWorkspace(const Uuid& id);
    std::optional<WorkspaceSession> workspace(const Uuid& id) const;

    // Preferences; each is stored at once.
    void setSleepAfterMinutes(std::int64_t minutes);
    void setKeepSessionsAfterQuit(bool);
    void setLinkFallbackWorkspaceId(std::optional<Uuid>);

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

    // Activation.
    std::optional<WorkspaceSession> activeWorkspace() const;
    void ensureActiveLoaded();
    bool needsUnlock(const WorkspaceSession&) const;

    // The gap between dismissing one sheet and presenting the next, so their animations do not collide.
    static constexpr double sheetGapSeconds = 0.45;
    static constexpr std::int64_t maximumShortcutIndex = 9;

private:
    void readPreferences();
    void restoreLinkFallback();
    void loadWorkspaces();
    void replaceUnreadableList(const std::optional<Bytes>& unreadable);
    void activate(const WorkspaceSession&);
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

    MainQueue& m_queue;
    DefaultsStore& m_defaults;
    LiveWorkspaces& m_runtime;
    DataStores& m_dataStores;
    Keychain& m_keychain;
    RoutingRuleStore& m_routingRules;

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

    // Work scheduled for later checks this before touching the manager.
    std::shared_ptr<bool> m_alive{ std::make_shared<bool>(true) };
};

} // namespace cohortex
