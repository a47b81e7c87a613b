#pragma once

#include "Engine/WebEngine.h"
#include "Engine/WebKitGtk/ProxyRoute.h"
#include "Engine/WebKitGtk/StoreDirectories.h"
#include "Platform/Linux/GLibPtr.h"
#include "Platform/Linux/GSignalConnection.h"

#include <functional>
#include <optional>
#include <webkit/webkit.h>

namespace cohortex {

// One open website data store: a persistent WebKit network session over the store's own directories,
// and what the web views of this run need to know about it.
class WebKitStore {
public:
    explicit WebKitStore(StoreDirectories);
    WebKitStore(const WebKitStore&) = delete;
    WebKitStore& operator=(const WebKitStore&) = delete;

    const StoreDirectories& directories() const { return m_directories; }
    WebKitNetworkSession* session() const { return m_session.get(); }
    // A reference to the session, for work that may outlive this store.
    GObjectPtr<WebKitNetworkSession> sessionHandle() const { return m_session; }

    // Replaces the observer; the engine calls it on every change of the cookie jar.
    void observeCookies(std::function<void()>);

    void setProxy(const std::optional<ProxySettings>&);
    const std::optional<ProxyCredential>& proxyCredential() const { return m_proxyCredential; }

    // Counts the web views that use the session; a store in use is never destroyed.
    void acquire() { ++m_useCount; }
    void release();
    bool isInUse() const { return m_useCount > 0; }

private:
    static void cookiesChanged(WebKitCookieManager*, gpointer store);

    StoreDirectories m_directories;
    GObjectPtr<WebKitNetworkSession> m_session;
    std::function<void()> m_cookieObserver;
    // Declared after the session so that it is disconnected before the session reference goes.
    GSignalConnection m_cookiesChangedHandler;
    std::optional<ProxyCredential> m_proxyCredential;
    int m_useCount{ 0 };
};

} // namespace cohortex
