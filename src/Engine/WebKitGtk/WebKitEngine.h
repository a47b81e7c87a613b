#pragma once

#include "Engine/WebEngine.h"
#include "Engine/WebKitGtk/ProxyRoute.h"
#include "Engine/WebKitGtk/WebKitStore.h"

#include <map>
#include <memory>

namespace cohortex {

// The website data stores on WebKitGTK: one persistent network session per storage identifier, over
// $XDG_DATA_HOME/cohortex/stores/<UUID> and $XDG_CACHE_HOME/cohortex/stores/<UUID>, with its cookies
// in a SQLite file inside the data directory.
//
// Web views take their session from here. A view calls acquire() before it is created on a store's
// session and release() once it is gone; while any view holds a store, destroyStore() refuses. A view
// answers its "authenticate" signal for a proxy with proxyCredential().
//
// A GLib main queue must be current: every operation resumes on it.
class WebKitEngine final : public WebEngine {
public:
    WebKitEngine();
    ~WebKitEngine() override;
    WebKitEngine(const WebKitEngine&) = delete;
    WebKitEngine& operator=(const WebKitEngine&) = delete;

    void openStore(const Uuid& storage) override;
    Task<std::vector<HttpCookie>> allCookies(Uuid storage) override;
    Task<void> setCookie(Uuid storage, HttpCookie) override;
    void observeCookies(const Uuid& storage, std::function<void()> changed) override;
    Task<void> removeAllData(Uuid storage) override;
    Task<bool> destroyStore(Uuid storage) override;
    void setProxy(const Uuid& storage, std::optional<ProxySettings>) override;

    // The store's session, opening the store if needed. It stays valid until the store is destroyed or
    // the engine goes away; a view that needs it longer takes a reference.
    WebKitNetworkSession* networkSession(const Uuid& storage);
    // Counts one more view using the store and returns its session.
    WebKitNetworkSession* acquire(const Uuid& storage);
    // Undoes one acquire().
    void release(const Uuid& storage);
    // What to answer when the store's HTTP proxy asks for a login. Nothing without a proxy, for a SOCKS5
    // proxy (which gets its login up front) and for a proxy set without user name or password.
    std::optional<ProxyCredential> proxyCredential(const Uuid& storage) const;
    // The web context the browser's views share, made on first use: its web processes load the
    // browser's web-process extension, which tells each view its process.
    WebKitWebContext* webContext();

private:
    WebKitStore& store(const Uuid& storage);

    std::map<Uuid, std::unique_ptr<WebKitStore>> m_stores;
    GObjectPtr<WebKitWebContext> m_webContext;
    // Expires with the engine, for the coroutines that come back to it after a wait.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

} // namespace cohortex
