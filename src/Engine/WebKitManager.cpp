#include "Engine/WebKitManager.h"

#include "Services/StoredKeys.h"
#include "Support/QueueAwaitable.h"

#include <algorithm>
#include <utility>

namespace cohortex {

WebKitManager::WebKitManager(MainQueue& queue, DefaultsStore& defaults, WebEngine& engine, CookieVault& vault,
    ProxyPasswords& passwords)
    : m_queue(queue)
    , m_defaults(defaults)
    , m_engine(engine)
    , m_vault(vault)
    , m_passwords(passwords)
{
}

WebKitManager::~WebKitManager()
{
    // A debounced save must not reach a manager that has gone away.
    for (auto& [storage, pending] : m_pendingSaves)
        pending.cancel();
}

bool WebKitManager::keepSessionsEnabled() const
{
    return m_defaults.boolean(keys::keepSessionsAfterQuit).value_or(keys::defaultKeepSessionsAfterQuit);
}

bool WebKitManager::isPrepared(const WorkspaceSession& workspace) const
{
    return !keepSessionsEnabled() || m_preparedStores.contains(workspace.storageIdentifier);
}

void WebKitManager::markPrepared(const WorkspaceSession& workspace)
{
    m_preparedStores.insert(workspace.storageIdentifier);
}

void WebKitManager::openStore(const WorkspaceSession& workspace)
{
    const auto& storage = workspace.storageIdentifier;
    if (isOpen(storage))
        return;
    m_engine.openStore(storage);
    applyProxy(workspace);
    m_activeStores.insert(storage);
    m_workspaceForStorage.insert_or_assign(storage, workspace);
    observeCookies(storage);
}

void WebKitManager::observeCookies(const Uuid& storage)
{
    auto observer = std::make_shared<CookieObserver>(CookieObserver{ storage });
    m_engine.observeCookies(storage, [this, weakObserver = std::weak_ptr(observer)] {
        // The manager owns every live observer, so a live observer means a live manager.
        if (auto observer = weakObserver.lock())
            cookiesChanged(observer->storageID);
    });
    m_cookieObservers.insert_or_assign(storage, std::move(observer));
}

void WebKitManager::pageFinishedLoading(const Uuid& workspaceID)
{
    auto found = std::ranges::find_if(
        m_workspaceForStorage, [&](const auto& entry) { return entry.second.id == workspaceID; });
    if (found != m_workspaceForStorage.end())
        cookiesChanged(found->first);
}

void WebKitManager::forgetSavedSessions(std::span<const WorkspaceSession> workspaces)
{
    // The blobs held back because they could not be read are gone now too, as the user asked.
    for (const auto& workspace : workspaces) {
        m_unreadBlobs.erase(workspace.storageIdentifier);
        m_vault.save(std::nullopt, workspace.storageIdentifier);
    }
}

void WebKitManager::clearWorkspaceData(const WorkspaceSession& workspace, std::function<void()> completion)
{
    openStore(workspace);
    m_unreadBlobs.erase(workspace.storageIdentifier);
    m_vault.save(std::nullopt, workspace.storageIdentifier);
    wipe(m_alive, workspace.storageIdentifier, std::move(completion));
}

Task<void> WebKitManager::wipe(std::weak_ptr<void> alive, Uuid storage, std::function<void()> completion)
{
    co_await m_engine.removeAllData(storage);
    if (alive.expired())
        co_return;
    // Posted, so that the caller's completion never runs inside the engine's callback.
    if (completion)
        m_queue.post(std::move(completion));
}

void WebKitManager::deleteWorkspaceStore(const Uuid& storage)
{
    m_activeStores.erase(storage);
    m_preparedStores.erase(storage);
    m_unreadBlobs.erase(storage);
    cancelPendingSave(storage);
    m_cookieObservers.erase(storage);
    m_workspaceForStorage.erase(storage);
    m_proxyGenerations.erase(storage);
    m_vault.save(std::nullopt, storage);
    destroyWithRetries(m_alive, storage);
}

Task<void> WebKitManager::destroyWithRetries(std::weak_ptr<void> alive, Uuid storage)
{
    // The engine refuses while a page still uses the store; closing the workspace's pages takes a
    // moment, so each attempt waits first. After the last refusal the files stay until next time.
    for (int attempt = 0; attempt < storeRemovalAttempts; ++attempt) {
        co_await delay(m_queue, storeRemovalRetryDelay);
        if (alive.expired())
            co_return;
        bool removed = co_await m_engine.destroyStore(storage);
        if (removed || alive.expired())
            co_return;
    }
}

} // namespace cohortex
