#include "Engine/WebKitGtk/WebKitEngine.h"

#include "Engine/WebKitGtk/BackgroundRemoval.h"
#include "Engine/WebKitGtk/BrowserWebContext.h"
#include "Engine/WebKitGtk/SoupCookies.h"
#include "Platform/Linux/GLibAsync.h"
#include "Support/Log.h"

#include <string>

// The coroutines below hold their own reference to the session they work on, so a store destroyed or an
// engine torn down during a wait does them no harm. Only destroyStore comes back to the engine after a
// wait, and it checks first that the engine is still there.

namespace cohortex {

namespace {

struct CookieListFree {
    void operator()(GList* list) const
    {
        g_list_free_full(list, reinterpret_cast<GDestroyNotify>(soup_cookie_free));
    }
};
using CookieList = std::unique_ptr<GList, CookieListFree>;

WebKitCookieManager* cookieManager(const GObjectPtr<WebKitNetworkSession>& session)
{
    return webkit_network_session_get_cookie_manager(session.get());
}

// A time span of zero reaches back to the beginning: every item, however old.
Task<void> clearWebsiteData(GObjectPtr<WebKitNetworkSession> session)
{
    auto* manager = webkit_network_session_get_website_data_manager(session.get());
    auto result = co_await awaitAsyncResult([manager](GAsyncReadyCallback ready, gpointer data) {
        webkit_website_data_manager_clear(manager, WEBKIT_WEBSITE_DATA_ALL, 0, nullptr, ready, data);
    });
    GErrorPtr error;
    if (!webkit_website_data_manager_clear_finish(manager, result.get(), error.out()))
        logWarning(std::string("Cannot remove the website data of a data store: ") + error.message());
}

} // namespace

WebKitEngine::WebKitEngine() = default;
WebKitEngine::~WebKitEngine() = default;

void WebKitEngine::openStore(const Uuid& storage)
{
    store(storage);
}

WebKitStore& WebKitEngine::store(const Uuid& storage)
{
    auto& store = m_stores[storage];
    if (!store)
        store = std::make_unique<WebKitStore>(StoreDirectories::forStorage(storage));
    return *store;
}

Task<std::vector<HttpCookie>> WebKitEngine::allCookies(Uuid storage)
{
    auto session = store(storage).sessionHandle();
    auto result = co_await awaitAsyncResult([&session](GAsyncReadyCallback ready, gpointer data) {
        webkit_cookie_manager_get_all_cookies(cookieManager(session), nullptr, ready, data);
    });
    GErrorPtr error;
    CookieList list(
        webkit_cookie_manager_get_all_cookies_finish(cookieManager(session), result.get(), error.out()));
    if (error)
        logWarning(std::string("Cannot read the cookies of a data store: ") + error.message());
    std::vector<HttpCookie> cookies;
    for (auto* item = list.get(); item; item = item->next)
        cookies.push_back(httpCookieFromSoup(static_cast<SoupCookie*>(item->data)));
    co_return cookies;
}

Task<void> WebKitEngine::setCookie(Uuid storage, HttpCookie cookie)
{
    auto session = store(storage).sessionHandle();
    auto soup = soupCookieFromHttp(cookie);
    auto result = co_await awaitAsyncResult([&session, &soup](GAsyncReadyCallback ready, gpointer data) {
        webkit_cookie_manager_add_cookie(cookieManager(session), soup.get(), nullptr, ready, data);
    });
    GErrorPtr error;
    if (!webkit_cookie_manager_add_cookie_finish(cookieManager(session), result.get(), error.out()))
        logWarning("Cannot set a cookie for " + cookie.domain + ": " + error.message());
}

void WebKitEngine::observeCookies(const Uuid& storage, std::function<void()> changed)
{
    store(storage).observeCookies(std::move(changed));
}

Task<void> WebKitEngine::removeAllData(Uuid storage)
{
    co_await clearWebsiteData(store(storage).sessionHandle());
}

Task<bool> WebKitEngine::destroyStore(Uuid storage)
{
    std::weak_ptr<void> alive = m_alive;
    if (auto found = m_stores.find(storage); found != m_stores.end()) {
        if (found->second->isInUse())
            co_return false;
        // The network process writes a store's files in its own time, even after its last page closed.
        // Clearing first waits for that work and leaves it nothing to write once the session is gone;
        // deleting right away let it bring the directories back.
        co_await clearWebsiteData(found->second->sessionHandle());
        if (alive.expired())
            co_return false;
        if (found = m_stores.find(storage); found != m_stores.end()) {
            if (found->second->isInUse())
                co_return false;
            m_stores.erase(found);
        }
    }
    auto directories = StoreDirectories::forStorage(storage);
    // Built apart from the co_await: g++ 12 rejects a braced list inside one.
    std::vector<std::filesystem::path> removed{ directories.data, directories.cache };
    co_return co_await removeDirectoriesInBackground(std::move(removed));
}

void WebKitEngine::setProxy(const Uuid& storage, std::optional<ProxySettings> settings)
{
    store(storage).setProxy(settings);
}

WebKitNetworkSession* WebKitEngine::networkSession(const Uuid& storage)
{
    return store(storage).session();
}

WebKitNetworkSession* WebKitEngine::acquire(const Uuid& storage)
{
    auto& opened = store(storage);
    opened.acquire();
    return opened.session();
}

void WebKitEngine::release(const Uuid& storage)
{
    if (auto found = m_stores.find(storage); found != m_stores.end())
        found->second->release();
}

std::optional<ProxyCredential> WebKitEngine::proxyCredential(const Uuid& storage) const
{
    auto found = m_stores.find(storage);
    if (found == m_stores.end())
        return std::nullopt;
    return found->second->proxyCredential();
}

WebKitWebContext* WebKitEngine::webContext()
{
    if (!m_webContext)
        m_webContext = makeBrowserWebContext();
    return m_webContext.get();
}

} // namespace cohortex
