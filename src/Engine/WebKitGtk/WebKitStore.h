#pragma once

#include "Engine/WebEngine.h"
#include "Engine/WebKitGtk/ProxyLogins.h"
#include "Engine/WebKitGtk/ProxyRoute.h"
#include "Engine/WebKitGtk/StoreDirectories.h"
#include "Platform/Linux/GLibPtr.h"
#include "Platform/Linux/GSignalConnection.h"
#include "Support/MainQueue.h"
#include "Support/Task.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <webkit/webkit.h>

namespace cohortex {

// What a web view of a store is made with: the store's session, and the web context its pages' processes
// belong to.
struct StoreViewParts {
    WebKitNetworkSession* session;
    WebKitWebContext* context;
};

// Holds back the work waiting on it until it is opened, once, or until a deadline passes.
struct WaitGate {
    std::vector<std::function<void()>> waiters;
    Cancellable deadline;
    bool isOpen{ false };

    void open();
};

// One open website data store: a persistent WebKit network session over the store's own directories,
// and what the web views of this run need to know about it.
//
// A network session keeps the proxy login its pages made, or were refused, for as long as it lives. So
// once its proxy has been replaced after such a login, the store starts a fresh session over the same
// directories the next time a view takes it while none holds it. The fresh session reads the persistent
// cookies from the cookie file and receives the old one's session cookies; until they are in,
// readySession() waits. A GLib main queue must be current.
class WebKitStore {
public:
    WebKitStore(StoreDirectories, std::chrono::milliseconds proxyLoginWait);
    // Lets the work waiting for the session go on.
    ~WebKitStore();
    WebKitStore(const WebKitStore&) = delete;
    WebKitStore& operator=(const WebKitStore&) = delete;

    const StoreDirectories& directories() const { return m_directories; }
    // The current session. It may still be receiving cookies: work with the jar goes through readySession().
    WebKitNetworkSession* session() const { return m_session.get(); }
    // A reference to the current session once its cookies are in place, for work that may outlive this store.
    Task<GObjectPtr<WebKitNetworkSession>> readySession() const;
    // The same, once a SOCKS proxy also has its password (or the keyring has let it wait too long): only
    // pages go over the network, so only they wait for it.
    Task<GObjectPtr<WebKitNetworkSession>> readyForPages() const;
    // Pages wait for the work as well, and for the work of an earlier call that is still running.
    void holdPagesUntil(Task<void> work);

    // Replaces the observer; the engine calls it on every change of the cookie jar.
    void observeCookies(std::function<void()>);

    void setProxy(const std::optional<ProxySettings>&);
    const std::optional<ProxyCredential>& proxyCredential() const { return m_proxyLogins.credential(); }
    // Answers, holds or declines the request of a page on this store's session for its HTTP proxy's login.
    void answerProxyLogin(WebKitAuthenticationRequest*);

    // Counts one more web view using the session, and returns what the view must be made with.
    //
    // The store's views share a web context of their own while any of them lives. WebKit keeps the web
    // process of a closed page alive for a while, to reuse it for the same site, and only for pages of the
    // same web context; so once the last view is gone and the context with it, so are the processes.
    // Without that, a hibernated workspace's pages would stay in memory.
    StoreViewParts acquire();
    void release();
    // A store in use is never destroyed, and its session never replaced.
    bool isInUse() const { return m_useCount > 0; }

private:
    void startSession();
    void renewSession();
    void applyProxySettings();
    void holdPagesForSocksPassword(bool);
    static void cookiesChanged(WebKitCookieManager*, gpointer store);

    StoreDirectories m_directories;
    GObjectPtr<WebKitNetworkSession> m_session;
    // The latest renewal, if any: a fresh session receiving the session cookies of the one it replaced,
    // which yields that fresh session once they are in.
    Task<GObjectPtr<WebKitNetworkSession>> m_renewal;
    std::function<void()> m_cookieObserver;
    // Declared after the session so that it is disconnected before the session reference goes.
    GSignalConnection m_cookiesChangedHandler;
    // The proxy URI the sessions are given, or nothing for direct connections; before the first
    // setProxy() the session keeps WebKit's own settings.
    std::optional<std::string> m_proxyUri;
    bool m_hasProxySettings{ false };
    ProxyLogins m_proxyLogins;
    std::chrono::milliseconds m_proxyLoginWait;
    // Open unless a SOCKS proxy's password is being read: SOCKS asks no login that could be held meanwhile,
    // so a page that went out before the password would fail.
    std::shared_ptr<WaitGate> m_socksPassword;
    // What pages wait for besides, such as the saved logins being put back; invalid when nothing.
    Task<void> m_pagesHeldUntil;
    GObjectPtr<WebKitWebContext> m_webContext;
    bool m_needsFreshSession{ false };
    int m_useCount{ 0 };
};

} // namespace cohortex
