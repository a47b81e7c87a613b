#pragma once

#include "Engine/WebEngine.h"
#include "Engine/WebKitGtk/ProxyRoute.h"
#include "Engine/WebKitGtk/WebKitStore.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace cohortex {

// The website data stores on WebKitGTK: one persistent network session per storage identifier, over
// $XDG_DATA_HOME/cohortex/stores/<UUID> and $XDG_CACHE_HOME/cohortex/stores/<UUID>, with its cookies
// in a SQLite file inside the data directory.
//
// Web views take their session from here. A view calls acquire() before it is created on a store's
// session and release() once it is gone; while any view holds a store, destroyStore() refuses. A view
// loads its first page once readyForPages() is done, and hands its "authenticate" requests for a proxy
// to answerProxyLogin().
//
// A GLib main queue must be current: every operation resumes on it.
class WebKitEngine final : public WebEngine {
public:
    // How long a page's request for its proxy's login may wait for a password still being read.
    static constexpr std::chrono::milliseconds defaultProxyLoginWait{ 30'000 };

    explicit WebKitEngine(std::chrono::milliseconds proxyLoginWait = defaultProxyLoginWait);
    ~WebKitEngine() override;
    WebKitEngine(const WebKitEngine&) = delete;
    WebKitEngine& operator=(const WebKitEngine&) = delete;

    void openStore(const Uuid& storage) override;
    Task<Expected<std::vector<HttpCookie>>> allCookies(Uuid storage) override;
    Task<void> setCookie(Uuid storage, HttpCookie) override;
    void observeCookies(const Uuid& storage, std::function<void()> changed) override;
    Task<void> removeAllData(Uuid storage) override;
    Task<bool> destroyStore(Uuid storage) override;
    void setProxy(const Uuid& storage, std::optional<ProxySettings>) override;
    void holdPagesUntil(const Uuid& storage, Task<void> work) override;

    // The store's session, opening the store if needed. It stays valid until the store replaces it (see
    // acquire()), is destroyed or the engine goes away; a view that needs it longer takes a reference.
    WebKitNetworkSession* networkSession(const Uuid& storage);
    // Counts one more view using the store and returns the session and web context the view must be made
    // with. The session is a fresh one when no view held the store and its proxy was replaced after a login
    // to it was given or refused; a fresh session is ready for pages once readyForPages() is done. The
    // context is the store's own while any view holds the store: its web processes end with the last view
    // (see WebKitStore::acquire()), and they load the browser's web-process extension, which tells each
    // view its process.
    StoreViewParts acquire(const Uuid& storage);
    // Undoes one acquire().
    void release(const Uuid& storage);
    // The store's session once its cookies are in place, the work it was held for is done and a SOCKS proxy
    // has its password; a page loaded earlier would go out without the user's logins, or fail at the proxy.
    Task<GObjectPtr<WebKitNetworkSession>> readyForPages(Uuid storage);
    // Answers the request of a page on the store's session for its HTTP proxy's login: at once with the
    // store's credential, once a password still being read arrives, or declined when there is none.
    void answerProxyLogin(const Uuid& storage, WebKitAuthenticationRequest*);
    // The credential the store's HTTP proxy gets when it asks. Nothing without a proxy, for a SOCKS5 proxy
    // (which gets its login up front), for a proxy set without user name or password, and while the
    // password is still being read.
    std::optional<ProxyCredential> proxyCredential(const Uuid& storage) const;

    // Runs the work once, when the first page of this run has loaded (or failed to), or at once if one has.
    void whenFirstPageLoads(std::function<void()>);
    // Called by each view when its page has loaded or failed to.
    void pageLoaded();

private:
    WebKitStore& store(const Uuid& storage);

    std::chrono::milliseconds m_proxyLoginWait;
    std::map<Uuid, std::unique_ptr<WebKitStore>> m_stores;
    bool m_hasLoadedPage{ false };
    std::vector<std::function<void()>> m_firstPageWaiters;
    // Expires with the engine, for the coroutines that come back to it after a wait.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

} // namespace cohortex
