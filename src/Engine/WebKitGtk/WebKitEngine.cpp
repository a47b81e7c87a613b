#include "Engine/WebKitGtk/WebKitEngine.h"

#include "Engine/WebKitGtk/BackgroundRemoval.h"
#include "Engine/WebKitGtk/SessionCookieJar.h"
#include "Platform/Linux/GLibAsync.h"
#include "Support/Log.h"

#include <string>

// The coroutines below hold their own reference to the session they work on, so a store destroyed or an
// engine torn down during a wait does them no harm. Only destroyStore comes back to the engine after a
// wait, and it checks first that the engine is still there.

namespace cohortex {

namespace {

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

WebKitEngine::WebKitEngine(std::chrono::milliseconds proxyLoginWait)
    : m_proxyLoginWait(proxyLoginWait)
{
}

WebKitEngine::~WebKitEngine() = default;

void WebKitEngine::openStore(const Uuid& storage)
{
    store(storage);
}

WebKitStore& WebKitEngine::store(const Uuid& storage)
{
    auto& store = m_stores[storage];
    if (!store)
        store = std::make_unique<WebKitStore>(StoreDirectories::forStorage(storage), m_proxyLoginWait);
    return *store;
}

Task<Expected<std::vector<HttpCookie>>> WebKitEngine::allCookies(Uuid storage)
{
    auto session = co_await store(storage).readySession();
    co_return co_await cohortex::allCookies(std::move(session));
}

Task<void> WebKitEngine::setCookie(Uuid storage, HttpCookie cookie)
{
    auto session = co_await store(storage).readySession();
    co_await addCookie(std::move(session), std::move(cookie));
}

void WebKitEngine::observeCookies(const Uuid& storage, std::function<void()> changed)
{
    store(storage).observeCookies(std::move(changed));
}

Task<void> WebKitEngine::removeAllData(Uuid storage)
{
    auto session = co_await store(storage).readySession();
    co_await clearWebsiteData(std::move(session));
}

Task<bool> WebKitEngine::destroyStore(Uuid storage)
{
    std::weak_ptr<void> alive = m_alive;
    if (auto found = m_stores.find(storage); found != m_stores.end()) {
        if (found->second->isInUse())
            co_return false;
        // The network process writes a store's files in its own time, even after its last page closed.
        // Clearing first waits for that work and leaves it nothing to write once the session is gone;
        // deleting right away let it bring the directories back. A fresh session still receiving
        // cookies would write them after the clearing, so that comes first.
        auto session = co_await found->second->readySession();
        if (alive.expired())
            co_return false;
        co_await clearWebsiteData(std::move(session));
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

StoreViewParts WebKitEngine::acquire(const Uuid& storage)
{
    return store(storage).acquire();
}

void WebKitEngine::release(const Uuid& storage)
{
    if (auto found = m_stores.find(storage); found != m_stores.end())
        found->second->release();
}

void WebKitEngine::holdPagesUntil(const Uuid& storage, Task<void> work)
{
    store(storage).holdPagesUntil(std::move(work));
}

Task<GObjectPtr<WebKitNetworkSession>> WebKitEngine::readyForPages(Uuid storage)
{
    return store(storage).readyForPages();
}

void WebKitEngine::answerProxyLogin(const Uuid& storage, WebKitAuthenticationRequest* request)
{
    store(storage).answerProxyLogin(request);
}

std::optional<ProxyCredential> WebKitEngine::proxyCredential(const Uuid& storage) const
{
    auto found = m_stores.find(storage);
    if (found == m_stores.end())
        return std::nullopt;
    return found->second->proxyCredential();
}

void WebKitEngine::whenFirstPageLoads(std::function<void()> work)
{
    if (m_hasLoadedPage)
        work();
    else
        m_firstPageWaiters.push_back(std::move(work));
}

void WebKitEngine::pageLoaded()
{
    if (std::exchange(m_hasLoadedPage, true))
        return;
    for (auto& work : std::exchange(m_firstPageWaiters, {}))
        work();
}

} // namespace cohortex
