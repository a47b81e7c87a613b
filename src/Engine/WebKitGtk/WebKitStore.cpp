#include "Engine/WebKitGtk/WebKitStore.h"

#include "Engine/WebKitGtk/BrowserWebContext.h"
#include "Engine/WebKitGtk/SessionCookieJar.h"
#include "Platform/Linux/PrivateFiles.h"
#include "Support/CallbackAwaitable.h"
#include "Support/Log.h"

#include <memory>
#include <utility>

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

// Resolves to the fresh session once the renewal has given it the old one's cookies, at once when no
// renewal is under way.
Task<GObjectPtr<WebKitNetworkSession>> whenRenewed(
    Task<GObjectPtr<WebKitNetworkSession>> renewal, GObjectPtr<WebKitNetworkSession> current)
{
    if (!renewal.isValid() || renewal.isDone())
        co_return current;
    auto renewed = co_await renewal;
    co_return renewed;
}

Task<GObjectPtr<WebKitNetworkSession>> whenOpen(
    std::shared_ptr<WaitGate> gate, Task<GObjectPtr<WebKitNetworkSession>> ready)
{
    if (gate && !gate->isOpen)
        co_await awaitCallback(
            [&gate](std::function<void()> resume) { gate->waiters.push_back(std::move(resume)); });
    auto session = co_await ready;
    co_return session;
}

Task<GObjectPtr<WebKitNetworkSession>> afterWork(
    Task<void> work, Task<GObjectPtr<WebKitNetworkSession>> ready)
{
    if (work.isValid() && !work.isDone())
        co_await work;
    auto session = co_await ready;
    co_return session;
}

Task<void> bothDone(Task<void> first, Task<void> second)
{
    co_await first;
    co_await second;
}

Task<GObjectPtr<WebKitNetworkSession>> renew(
    GObjectPtr<WebKitNetworkSession> previous, GObjectPtr<WebKitNetworkSession> fresh)
{
    co_await copySessionCookies(std::move(previous), fresh);
    co_return fresh;
}

} // namespace

WebKitStore::WebKitStore(StoreDirectories directories, std::chrono::milliseconds proxyLoginWait)
    : m_directories(std::move(directories))
    , m_proxyLogins(proxyLoginWait)
    , m_proxyLoginWait(proxyLoginWait)
{
    startSession();
}

WebKitStore::~WebKitStore()
{
    if (m_socksPassword)
        m_socksPassword->open();
}

void WaitGate::open()
{
    if (isOpen)
        return;
    isOpen = true;
    deadline.cancel();
    for (auto& resume : std::exchange(waiters, {}))
        resume();
}

void WebKitStore::startSession()
{
    m_session = createSession(m_directories);
    auto* cookies = webkit_network_session_get_cookie_manager(m_session.get());
    auto handler = g_signal_connect(cookies, "changed", G_CALLBACK(cookiesChanged), this);
    m_cookiesChangedHandler = GSignalConnection(GObjectPtr<WebKitCookieManager>::retain(cookies), handler);
    applyProxySettings();
}

Task<GObjectPtr<WebKitNetworkSession>> WebKitStore::readySession() const
{
    return whenRenewed(m_renewal, m_session);
}

Task<GObjectPtr<WebKitNetworkSession>> WebKitStore::readyForPages() const
{
    return afterWork(m_pagesHeldUntil, whenOpen(m_socksPassword, readySession()));
}

void WebKitStore::holdPagesUntil(Task<void> work)
{
    if (m_pagesHeldUntil.isValid() && !m_pagesHeldUntil.isDone())
        work = bothDone(m_pagesHeldUntil, std::move(work));
    m_pagesHeldUntil = std::move(work);
}

void WebKitStore::observeCookies(std::function<void()> changed)
{
    m_cookieObserver = std::move(changed);
}

void WebKitStore::setProxy(const std::optional<ProxySettings>& settings)
{
    // The session keeps the login it made for the proxy it had; the pages made from now on need a
    // session that logs in afresh.
    if (m_proxyLogins.hasAnswered())
        m_needsFreshSession = true;
    std::optional<ProxyRoute> route;
    if (settings)
        route = ProxyRoute::forSettings(*settings);
    auto uri = route ? std::optional(route->uri) : std::nullopt;
    // Giving the network session the same settings again would gain nothing, and an HTTP proxy's URI
    // stays the same when only its credential changes.
    if (!m_hasProxySettings || uri != m_proxyUri) {
        m_proxyUri = std::move(uri);
        m_hasProxySettings = true;
        applyProxySettings();
    }
    if (settings && settings->awaitsPassword)
        m_proxyLogins.awaitCredential();
    else
        m_proxyLogins.setCredential(route ? route->credential : std::nullopt);
    holdPagesForSocksPassword(
        settings && settings->awaitsPassword && settings->kind == ProxySettings::Kind::Socks5);
}

void WebKitStore::holdPagesForSocksPassword(bool holds)
{
    if (!holds) {
        if (auto gate = std::exchange(m_socksPassword, nullptr))
            gate->open();
        return;
    }
    if (m_socksPassword && !m_socksPassword->isOpen)
        return;
    m_socksPassword = std::make_shared<WaitGate>();
    auto seconds = std::chrono::duration<double>(m_proxyLoginWait).count();
    m_socksPassword->deadline
        = MainQueue::requireCurrent().postAfter(seconds, [gate = std::weak_ptr<WaitGate>(m_socksPassword)] {
              if (auto held = gate.lock())
                  held->open();
          });
}

void WebKitStore::applyProxySettings()
{
    if (!m_hasProxySettings)
        return;
    if (!m_proxyUri) {
        webkit_network_session_set_proxy_settings(
            m_session.get(), WEBKIT_NETWORK_PROXY_MODE_NO_PROXY, nullptr);
        return;
    }
    // No host is exempt, not even this machine: a workspace with a proxy never connects directly.
    std::unique_ptr<WebKitNetworkProxySettings, ProxySettingsFree> proxy(
        webkit_network_proxy_settings_new(m_proxyUri->c_str(), nullptr));
    webkit_network_session_set_proxy_settings(m_session.get(), WEBKIT_NETWORK_PROXY_MODE_CUSTOM, proxy.get());
}

void WebKitStore::answerProxyLogin(WebKitAuthenticationRequest* request)
{
    m_proxyLogins.answer(request);
}

StoreViewParts WebKitStore::acquire()
{
    if (m_useCount == 0 && m_needsFreshSession)
        renewSession();
    // The views of the store's previous context may still be on their way out; theirs ends with them.
    if (m_useCount == 0)
        m_webContext = makeBrowserWebContext();
    ++m_useCount;
    return { m_session.get(), m_webContext.get() };
}

void WebKitStore::release()
{
    if (m_useCount == 0) {
        logError("A web view released a data store it did not hold");
        return;
    }
    if (--m_useCount == 0)
        m_webContext.reset();
}

// The store lets go of the old session here, and the copy holds it until it has read its jar. No page
// uses it any more, since the store was free, so the jar does not change after the copy has read it.
void WebKitStore::renewSession()
{
    m_needsFreshSession = false;
    m_proxyLogins.startOver();
    auto previous = m_session;
    startSession();
    m_renewal = renew(std::move(previous), m_session);
}

void WebKitStore::cookiesChanged(WebKitCookieManager*, gpointer data)
{
    // A copy, because the observer may replace itself or close the store while it runs.
    auto observer = static_cast<WebKitStore*>(data)->m_cookieObserver;
    if (observer)
        observer();
}

} // namespace cohortex
