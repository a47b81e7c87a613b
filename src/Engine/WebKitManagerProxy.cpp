#include "Engine/WebKitManager.h"

#include <utility>

namespace cohortex {

namespace {

// The record's proxy without its credential, or nothing for direct connections. A record without a proxy
// (no host, no port, a port below 1) means direct connections; one listed with a proxy whose port is
// past 65535 refuses every connection.
std::optional<ProxySettings> proxyEndpoint(const WorkspaceSession& workspace)
{
    if (!workspace.hasProxy())
        return std::nullopt;
    if (workspace.hasUnusableProxy())
        return ProxySettings{ ProxySettings::Kind::Unusable, {}, 0, {}, {}, false };
    auto port = *workspace.proxyPort;
    ProxySettings settings;
    // Only the exact stored spelling selects SOCKS; anything else, an absent kind included, is an
    // HTTP proxy, which tunnels both plain and TLS traffic.
    settings.kind
        = workspace.proxyType == "socks5" ? ProxySettings::Kind::Socks5 : ProxySettings::Kind::HttpConnect;
    settings.host = *workspace.proxyHost;
    settings.port = static_cast<std::uint16_t>(port);
    return settings;
}

} // namespace

void WebKitManager::refreshProxy(const WorkspaceSession& workspace)
{
    // Opening a store applies the record's proxy already; applying it twice would read the keyring twice.
    if (!isOpen(workspace.storageIdentifier)) {
        openStore(workspace);
        return;
    }
    applyProxy(workspace);
}

void WebKitManager::applyProxy(const WorkspaceSession& workspace)
{
    const auto& storage = workspace.storageIdentifier;
    auto generation = ++m_lastProxyGeneration;
    m_proxyGenerations.insert_or_assign(storage, generation);

    // The keyring answers asynchronously here, while the engine may start a request at any moment. So
    // the endpoint goes in at once, waiting for its password: no request of this workspace can then
    // leave directly, past the proxy the user chose, and a login the proxy asks for meanwhile is held
    // until the password is here rather than refused.
    auto endpoint = proxyEndpoint(workspace);
    bool isUsable = endpoint && endpoint->kind != ProxySettings::Kind::Unusable;
    if (!isUsable || !workspace.proxyUsername || workspace.proxyUsername->empty()) {
        m_engine.setProxy(storage, endpoint);
        return;
    }
    endpoint->username = *workspace.proxyUsername;
    endpoint->awaitsPassword = true;
    m_engine.setProxy(storage, endpoint);
    attachProxyCredential(m_alive, storage, workspace.id, *endpoint, generation);
}

Task<void> WebKitManager::attachProxyCredential(std::weak_ptr<void> alive, Uuid storage, Uuid workspaceID,
    ProxySettings settings, std::uint64_t generation)
{
    auto password = co_await m_passwords.proxyPassword(workspaceID);
    if (alive.expired())
        co_return;
    // A later application (a newer record, a changed password, a deleted store) has replaced the
    // proxy this read was for; its own read decides the credential.
    auto current = m_proxyGenerations.find(storage);
    if (current == m_proxyGenerations.end() || current->second != generation)
        co_return;
    // Without a readable password the proxy is still used, and the engine stops holding its logins.
    settings.password = std::move(password);
    settings.awaitsPassword = false;
    m_engine.setProxy(storage, std::move(settings));
}

} // namespace cohortex
