#include "Engine/SessionCookieCodec.h"
#include "Engine/WebKitManager.h"
#include "Support/Log.h"

#include <utility>

namespace cohortex {

Task<void> WebKitManager::prepare(WorkspaceSession workspace)
{
    std::weak_ptr<void> alive = m_alive;
    auto storage = workspace.storageIdentifier;
    if (!keepSessionsEnabled() || m_preparedStores.contains(storage))
        co_return;
    if (auto running = m_preparing.find(storage); running != m_preparing.end()) {
        // Joining keeps a second caller from restoring the same cookies again.
        auto restoration = running->second;
        co_await restoration;
        co_return;
    }
    auto restoration = restoreCookies(alive, std::move(workspace));
    m_preparing.insert_or_assign(storage, restoration);
    // The store is open by now. Its pages may be made while the keyring is read, which is most of a
    // link's launch, but none goes out before the logins are back.
    if (!restoration.isDone())
        m_engine.holdPagesUntil(storage, restoration);
    co_await restoration;
    if (alive.expired())
        co_return;
    m_preparing.erase(storage);
}

Task<void> WebKitManager::restoreCookies(std::weak_ptr<void> alive, WorkspaceSession workspace)
{
    auto storage = workspace.storageIdentifier;
    // The keyring answers from another process: asked first, it reads while the store is opened.
    auto reading = m_vault.load(storage);
    openStore(workspace);
    auto blob = co_await reading;
    // A store deleted meanwhile must not come back as prepared, nor receive cookies.
    if (alive.expired() || !isOpen(storage))
        co_return;
    if (!blob) {
        // The pages may go on without the saved logins, but this run's jar must never replace them.
        logWarning("The saved logins of a workspace could not be read (" + blob.error().message
            + "); they are kept, and this run's logins of that workspace are not saved.");
        m_unreadBlobs.insert(storage);
    } else if (*blob) {
        auto cookies = SessionCookieCodec::decode(**blob);
        // One at a time and in blob order, so a later cookie of the same name wins as it did when saved.
        for (auto& cookie : cookies) {
            co_await m_engine.setCookie(storage, std::move(cookie));
            if (alive.expired() || !isOpen(storage))
                co_return;
        }
    }
    m_preparedStores.insert(storage);
}

Task<void> WebKitManager::saveSessionCookies(std::vector<WorkspaceSession> workspaces)
{
    std::weak_ptr<void> alive = m_alive;
    if (!keepSessionsEnabled())
        co_return;
    for (const auto& workspace : workspaces) {
        auto storage = workspace.storageIdentifier;
        if (!isSaveable(storage))
            continue;
        openStore(workspace);
        auto cookies = co_await m_engine.allCookies(storage);
        if (alive.expired())
            co_return;
        // While the jar was read the workspace may have been removed, or kept sessions turned off and
        // the blobs forgotten; writing now would bring back a blob that was meant to be gone.
        if (!keepSessionsEnabled() || !isSaveable(storage))
            continue;
        // A jar that could not be read is not an empty one: the blob saved last time stays.
        if (!cookies)
            continue;
        // No session cookies encode as nothing, and saving nothing deletes the old blob.
        co_await m_vault.save(SessionCookieCodec::encode(*cookies), storage);
        if (alive.expired())
            co_return;
    }
}

void WebKitManager::cookiesChanged(const Uuid& storage)
{
    // A store is never saved before its restoration has finished: the half-filled jar would
    // overwrite the blob being restored.
    if (!keepSessionsEnabled() || !isSaveable(storage))
        return;
    auto record = m_workspaceForStorage.find(storage);
    if (record == m_workspaceForStorage.end())
        return;
    cancelPendingSave(storage);
    // Each change restarts the wait, so a burst of changes (a login sets several cookies, each page
    // load counts as one) is written once, after the last.
    m_pendingSaves[storage] = m_queue.postAfter(saveDelay, [this, storage, workspace = record->second] {
        m_pendingSaves.erase(storage);
        saveSessionCookies({ workspace });
    });
}

void WebKitManager::cancelPendingSave(const Uuid& storage)
{
    auto pending = m_pendingSaves.find(storage);
    if (pending == m_pendingSaves.end())
        return;
    pending->second.cancel();
    m_pendingSaves.erase(pending);
}

} // namespace cohortex
