#include "Services/SessionManager.h"

#include "Services/DataStores.h"
#include "Services/RoutingRules.h"
#include "Services/StoredKeys.h"
#include "Services/WindowHost.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/Log.h"
#include "Support/MainQueue.h"

#include <cmath>

namespace cohortex {

SessionManager::SessionManager(Collaborators collaborators)
    : m_queue(collaborators.queue)
    , m_defaults(collaborators.defaults)
    , m_runtime(collaborators.runtime)
    , m_dataStores(collaborators.dataStores)
    , m_keychain(collaborators.keychain)
    , m_routingRules(collaborators.routingRules)
    , m_authenticator(collaborators.authenticator)
    , m_window(collaborators.window)
    , m_storedList(collaborators.defaults, keys::workspaces)
{
    // Each step sees the state the one before it left.
    readPreferences();
    restoreLinkFallback();
    loadWorkspaces();
    m_routingRules.loadRoutingRules();
}

SessionManager::~SessionManager() = default;

void SessionManager::readPreferences()
{
    // A value of the wrong kind reads as absent, so the defaults cover it too.
    m_sleepAfterMinutes.set(
        m_defaults.integer(keys::sleepAfterMinutes).value_or(keys::defaultSleepAfterMinutes));
    m_keepSessionsAfterQuit.set(
        m_defaults.boolean(keys::keepSessionsAfterQuit).value_or(keys::defaultKeepSessionsAfterQuit));
}

void SessionManager::restoreLinkFallback()
{
    auto stored = m_defaults.string(keys::linkFallback);
    if (!stored)
        return;
    auto id = Uuid::parse(*stored);
    m_linkFallbackWorkspaceId.set(id);
    // What cannot be read as a workspace id is no fallback, and is not kept as one either.
    if (!id)
        m_defaults.remove(keys::linkFallback);
}

void SessionManager::loadWorkspaces()
{
    auto stored = m_storedList.load();
    std::optional<std::vector<WorkspaceSession>> decoded;
    if (stored) {
        if (auto list = decodeWorkspaceList(*stored))
            decoded = std::move(*list);
        else
            logWarning("The stored workspace list could not be read (" + list.error().message
                + "); starting with the preset workspaces.");
    }
    if (decoded && !decoded->empty()) {
        m_workspaces.set(std::move(*decoded));
    } else {
        replaceUnreadableList(decoded ? std::nullopt : stored);
        // Shown even when it cannot be stored: a browser needs a workspace, and the next change tries again.
        m_workspaces.set(WorkspaceSession::defaultWorkspaces(m_queue.now()));
        saveWorkspaces();
    }
    const auto& list = m_workspaces.get();
    m_activeWorkspaceId.set(list.empty() ? std::nullopt : std::optional(list.front().id));
}

void SessionManager::replaceUnreadableList(const std::optional<Bytes>& unreadable)
{
    if (!unreadable || unreadable->empty())
        return;
    auto stamp = static_cast<std::int64_t>(std::floor(m_queue.now().secondsSinceReferenceDate()));
    auto key = std::string(keys::workspacesBackupPrefix) + std::to_string(stamp);
    if (!m_defaults.setData(key, *unreadable))
        logWarning("The unreadable workspace list could not be kept aside under " + key + ".");
}

namespace {

bool storeList(StoredRecord& record, const std::vector<WorkspaceSession>& list)
{
    if (record.save(encodeWorkspaceList(list)))
        return true;
    logWarning("The workspace list could not be saved.");
    return false;
}

} // namespace

bool SessionManager::saveWorkspaces()
{
    return storeList(m_storedList, m_workspaces.get());
}

bool SessionManager::commitWorkspaces(std::vector<WorkspaceSession> list)
{
    if (!storeList(m_storedList, list))
        return false;
    m_workspaces.set(std::move(list));
    return true;
}

std::optional<WorkspaceSession> SessionManager::workspace(const Uuid& id) const
{
    for (const auto& workspace : m_workspaces.get()) {
        if (workspace.id == id)
            return workspace;
    }
    return std::nullopt;
}

bool SessionManager::setSleepAfterMinutes(std::int64_t minutes)
{
    if (!m_defaults.setInteger(keys::sleepAfterMinutes, minutes))
        return false;
    m_sleepAfterMinutes.set(minutes);
    return true;
}

bool SessionManager::setKeepSessionsAfterQuit(bool keep)
{
    // The stores read the stored preference themselves, so memory and store must agree before they act.
    if (!m_defaults.setBoolean(keys::keepSessionsAfterQuit, keep))
        return false;
    m_keepSessionsAfterQuit.set(keep);
    if (!keep) {
        m_dataStores.forgetSavedSessions(m_workspaces.get());
        return true;
    }
    // Loaded pages already hold their cookies; restoring saved ones over them would go back in time.
    for (const auto& workspace : m_workspaces.get()) {
        if (m_runtime.isLoaded(workspace.id))
            m_dataStores.markPrepared(workspace);
    }
    return true;
}

bool SessionManager::setLinkFallbackWorkspaceId(std::optional<Uuid> id)
{
    bool stored
        = id ? m_defaults.setString(keys::linkFallback, id->string()) : m_defaults.remove(keys::linkFallback);
    if (stored)
        m_linkFallbackWorkspaceId.set(id);
    return stored;
}

} // namespace cohortex
