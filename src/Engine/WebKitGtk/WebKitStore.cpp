#include "Engine/WebKitGtk/WebKitStore.h"

#include "Platform/Linux/PrivateFiles.h"
#include "Support/Log.h"

#include <memory>

namespace cohortex {

namespace {

constexpr const char* cookieFileName = "cookies.sqlite";

struct ProxySettingsFree {
    void operator()(WebKitNetworkProxySettings* settings) const
    {
        webkit_network_proxy_settings_free(settings);
    }
};

void createDirectory(const std::filesystem::path& directory)
{
    // WebKit would create a missing directory itself, readable by others; ours are private.
    if (auto created = createPrivateDirectories(directory); !created)
        logWarning(created.error().message);
}

GObjectPtr<WebKitNetworkSession> createSession(const StoreDirectories& directories)
{
    createDirectory(directories.data);
    createDirectory(directories.cache);
    GObjectPtr<WebKitNetworkSession> session(
        webkit_network_session_new(directories.data.c_str(), directories.cache.c_str()));

    // Logins saved by the engine would go to the keyring, shared by every store and found by host; a
    // workspace's logins must stay inside its own store.
    webkit_network_session_set_persistent_credential_storage_enabled(session.get(), false);

    auto* cookies = webkit_network_session_get_cookie_manager(session.get());
    webkit_cookie_manager_set_persistent_storage(
        cookies, (directories.data / cookieFileName).c_str(), WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
    // Sites a page embeds get no cookies: they would only serve to follow the user from site to site,
    // and the browser whose identity the pages see refuses them too. The sites a workspace visits keep
    // their logins.
    webkit_cookie_manager_set_accept_policy(cookies, WEBKIT_COOKIE_POLICY_ACCEPT_NO_THIRD_PARTY);
    return session;
}

} // namespace

WebKitStore::WebKitStore(StoreDirectories directories)
    : m_directories(std::move(directories))
    , m_session(createSession(m_directories))
{
    auto* cookies = webkit_network_session_get_cookie_manager(m_session.get());
    auto handler = g_signal_connect(cookies, "changed", G_CALLBACK(cookiesChanged), this);
    m_cookiesChangedHandler = GSignalConnection(GObjectPtr<WebKitCookieManager>::retain(cookies), handler);
}

void WebKitStore::observeCookies(std::function<void()> changed)
{
    m_cookieObserver = std::move(changed);
}

void WebKitStore::setProxy(const std::optional<ProxySettings>& settings)
{
    if (!settings) {
        m_proxyCredential.reset();
        webkit_network_session_set_proxy_settings(
            m_session.get(), WEBKIT_NETWORK_PROXY_MODE_NO_PROXY, nullptr);
        return;
    }
    auto route = ProxyRoute::forSettings(*settings);
    m_proxyCredential = std::move(route.credential);
    // No host is exempt, not even this machine: a workspace with a proxy never connects directly.
    std::unique_ptr<WebKitNetworkProxySettings, ProxySettingsFree> proxy(
        webkit_network_proxy_settings_new(route.uri.c_str(), nullptr));
    webkit_network_session_set_proxy_settings(m_session.get(), WEBKIT_NETWORK_PROXY_MODE_CUSTOM, proxy.get());
}

void WebKitStore::release()
{
    if (m_useCount == 0) {
        logError("A web view released a data store it did not hold");
        return;
    }
    --m_useCount;
}

void WebKitStore::cookiesChanged(WebKitCookieManager*, gpointer data)
{
    // A copy, because the observer may replace itself or close the store while it runs.
    auto observer = static_cast<WebKitStore*>(data)->m_cookieObserver;
    if (observer)
        observer();
}

} // namespace cohortex
