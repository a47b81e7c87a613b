#pragma once

#include "Engine/CookieVault.h"
#include "Engine/ProxyPasswords.h"
#include "Engine/WebEngine.h"
#include "Models/WorkspaceSession.h"
#include "Services/DataStores.h"
#include "Support/DefaultsStore.h"
#include "Support/MainQueue.h"
#include "Support/Task.h"
#include "Support/Uuid.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <vector>

namespace cohortex {

// The single owner of every workspace's website data store. Each workspace has its own persistent
// store, named by its storage identifier, so two workspaces never share logins. The manager restores
// a workspace's saved session cookies before its first page loads, saves them again a short, fixed
// time after the jar last changed, applies the workspace's proxy to its store, wipes a store's site
// data on request and destroys the store when its workspace is removed. Everything runs on the main
// queue.
//
// A store's life: not open -> open (openStore) -> preparing (prepare) -> prepared (only prepared
// stores are ever saved) -> deleted (deleteWorkspaceStore). With kept sessions turned off no store is
// restored or saved, and every workspace counts as prepared.
class WebKitManager final : public DataStores {
public:
    WebKitManager(MainQueue&, DefaultsStore&, WebEngine&, CookieVault&, ProxyPasswords&);
    ~WebKitManager();

    WebKitManager(const WebKitManager&) = delete;
    WebKitManager& operator=(const WebKitManager&) = delete;

    // The operations below implement DataStores.

    // The "keepSessionsAfterQuit" preference, read afresh on every call: anything but a stored
    // boolean counts as on.
    bool keepSessionsEnabled() const override;
    bool isPrepared(const WorkspaceSession&) const override;
    // Restores the workspace's saved session cookies into its store, in blob order, before its first
    // page loads. Callers that arrive while a restoration runs wait for that one instead of starting
    // another.
    Task<void> prepare(WorkspaceSession) override;
    // Writes a fresh blob for each prepared workspace of the list, one workspace after another.
    Task<void> saveSessionCookies(std::vector<WorkspaceSession>) override;
    // Opens the workspace's store if needed and applies the record's current proxy to it.
    void refreshProxy(const WorkspaceSession&) override;
    // Forgets everything about the store, deletes its blob and destroys it on disk, retrying in the
    // background while a page still holds it.
    void deleteWorkspaceStore(const Uuid& storageIdentifier) override;
    // Deletes every listed workspace's saved blob; whether a store counts as prepared does not change.
    void forgetSavedSessions(std::span<const WorkspaceSession>) override;
    // Counts the store as restored without restoring anything, so that its live jar is saved.
    void markPrepared(const WorkspaceSession&) override;

    // Opens the workspace's store on first use in this run: applies its proxy, keeps a copy of the
    // record for the debounced save and starts observing its cookie jar. Later calls change nothing.
    void openStore(const WorkspaceSession&);
    // Replaces the store's proxy with the record's; the store must be open. The endpoint is in place
    // when this returns, waiting for a password if the record names a user. Once the keyring has
    // answered, the store learns the password or that there is none, unless a later call has replaced
    // the proxy by then.
    void applyProxy(const WorkspaceSession&);
    // Deletes the workspace's saved blob and all of its website data; completion runs on the main
    // queue once the engine has finished.
    void clearWorkspaceData(const WorkspaceSession&, std::function<void()> completion);
    // A finished main-frame load counts as a change of the workspace's cookie jar.
    void pageFinishedLoading(const Uuid& workspaceID);

    // How long the jar must stay unchanged before it is saved.
    static constexpr double saveDelay = 1.5;
    static constexpr int storeRemovalAttempts = 6;
    static constexpr double storeRemovalRetryDelay = 1.0;

private:
    // Registered with a store's cookie jar. The engine's callback holds it weakly, so dropping it
    // from m_cookieObservers (or destroying the manager) silences the callback.
    struct CookieObserver {
        Uuid storageID;
    };

    bool isOpen(const Uuid& storage) const { return m_activeStores.contains(storage); }
    // Restored, and not holding back a saved blob that could not be read.
    bool isSaveable(const Uuid& storage) const
    {
        return m_preparedStores.contains(storage) && !m_unreadBlobs.contains(storage);
    }
    void observeCookies(const Uuid& storage);
    void cookiesChanged(const Uuid& storage);
    void cancelPendingSave(const Uuid& storage);

    // Coroutines take the liveness token and check it after every suspension before touching `this`.
    Task<void> restoreCookies(std::weak_ptr<void> alive, WorkspaceSession);
    Task<void> wipe(std::weak_ptr<void> alive, Uuid storage, std::function<void()> completion);
    Task<void> destroyWithRetries(std::weak_ptr<void> alive, Uuid storage);
    Task<void> attachProxyCredential(
        std::weak_ptr<void> alive, Uuid storage, Uuid workspaceID, ProxySettings, std::uint64_t generation);

    MainQueue& m_queue;
    DefaultsStore& m_defaults;
    WebEngine& m_engine;
    CookieVault& m_vault;
    ProxyPasswords& m_passwords;

    // The engine names a store by its identifier, so an open store is just its identifier.
    std::set<Uuid> m_activeStores;
    std::set<Uuid> m_preparedStores;
    // Stores whose saved blob could not be read at restoration: never saved over in this run.
    std::set<Uuid> m_unreadBlobs;
    std::map<Uuid, Task<void>> m_preparing;
    std::map<Uuid, std::shared_ptr<CookieObserver>> m_cookieObservers;
    std::map<Uuid, WorkspaceSession> m_workspaceForStorage;
    std::map<Uuid, Cancellable> m_pendingSaves;
    // Which proxy application is the latest for each store, so that a password that arrives late
    // cannot overwrite a newer record's proxy. Numbers are never reused, even across deletions.
    std::map<Uuid, std::uint64_t> m_proxyGenerations;
    std::uint64_t m_lastProxyGeneration{ 0 };

    std::shared_ptr<void> m_alive{ std::make_shared<int>(0) };
};

} // namespace cohortex
