#pragma once

#include "Engine/HttpCookie.h"
#include "Support/Error.h"
#include "Support/Task.h"
#include "Support/Uuid.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cohortex {

// One proxy for every request of a store. HTTP proxies tunnel both plain and TLS traffic with CONNECT.
// Unusable stands for a proxy the user set that cannot be reached at all: every connection is refused,
// since connecting directly would send past the proxy what the user meant to go through it.
struct ProxySettings {
    enum class Kind { HttpConnect, Socks5, Unusable };

    Kind kind{ Kind::HttpConnect };
    std::string host;
    std::uint16_t port{ 0 };
    // Without a password the proxy is still used; it may then refuse the requests.
    std::optional<std::string> username;
    std::optional<std::string> password;
    // The password is still being read: a login the proxy asks for meanwhile waits for it instead of
    // going without. Settings given later say whether one came.
    bool awaitsPassword{ false };

    bool operator==(const ProxySettings&) const = default;
};

// What the browser needs of the web engine's website data stores. Each storage identifier names one
// persistent store whose data never mixes with another's, the same one in every run.
class WebEngine {
public:
    virtual ~WebEngine() = default;

    // Opens the store on first use in this run; later calls are cheap and change nothing.
    virtual void openStore(const Uuid& storage) = 0;
    // An error when the jar could not be read, which is not an empty jar.
    virtual Task<Expected<std::vector<HttpCookie>>> allCookies(Uuid storage) = 0;
    virtual Task<void> setCookie(Uuid storage, HttpCookie) = 0;
    // Called on every change of the store's cookie jar; replaces an earlier observer of that store.
    virtual void observeCookies(const Uuid& storage, std::function<void()> changed) = 0;
    // Removes every kind of website data of the store, however old.
    virtual Task<void> removeAllData(Uuid storage) = 0;
    // Drops the store and deletes its files. False, and nothing deleted, while a page still uses it.
    virtual Task<bool> destroyStore(Uuid storage) = 0;
    // Replaces the store's proxy; no settings means direct connections. A proxy login that the store's
    // pages have made lasts only until the proxy is replaced: the pages made afterwards log in afresh.
    virtual void setProxy(const Uuid& storage, std::optional<ProxySettings>) = 0;
    // The store's pages go out only once the work is done: the user's saved logins are being put back
    // into its jar, and a page that went out before would go without them. The store must be open.
    virtual void holdPagesUntil(const Uuid& storage, Task<void> work) = 0;
};

} // namespace cohortex
