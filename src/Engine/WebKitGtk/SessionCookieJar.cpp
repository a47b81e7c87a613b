#include "Engine/WebKitGtk/SessionCookieJar.h"

#include "Engine/WebKitGtk/SoupCookies.h"
#include "Platform/Linux/GLibAsync.h"
#include "Support/Log.h"

#include <memory>
#include <string>
#include <utility>

namespace cohortex {

namespace {

struct CookieListFree {
    void operator()(GList* list) const
    {
        g_list_free_full(list, reinterpret_cast<GDestroyNotify>(soup_cookie_free));
    }
};
// Shared, because a task hands out copies of its result.
using CookieList = std::shared_ptr<GList>;

WebKitCookieManager* cookieManager(const GObjectPtr<WebKitNetworkSession>& session)
{
    return webkit_network_session_get_cookie_manager(session.get());
}

Task<Expected<CookieList>> soupCookies(GObjectPtr<WebKitNetworkSession> session)
{
    auto result = co_await awaitAsyncResult([&session](GAsyncReadyCallback ready, gpointer data) {
        webkit_cookie_manager_get_all_cookies(cookieManager(session), nullptr, ready, data);
    });
    GErrorPtr error;
    CookieList list(
        webkit_cookie_manager_get_all_cookies_finish(cookieManager(session), result.get(), error.out()),
        CookieListFree());
    // An empty jar is a null list too, so only the error tells a failure.
    if (error) {
        logWarning(std::string("Cannot read the cookies of a data store: ") + error.message());
        co_return std::unexpected(error.toError());
    }
    co_return list;
}

Task<void> addSoupCookie(GObjectPtr<WebKitNetworkSession> session, SoupCookiePtr cookie)
{
    auto result = co_await awaitAsyncResult([&session, &cookie](GAsyncReadyCallback ready, gpointer data) {
        webkit_cookie_manager_add_cookie(cookieManager(session), cookie.get(), nullptr, ready, data);
    });
    GErrorPtr error;
    if (!webkit_cookie_manager_add_cookie_finish(cookieManager(session), result.get(), error.out()))
        logWarning(std::string("Cannot set a cookie for ") + soup_cookie_get_domain(cookie.get()) + ": "
            + error.message());
}

} // namespace

Task<Expected<std::vector<HttpCookie>>> allCookies(GObjectPtr<WebKitNetworkSession> session)
{
    auto list = co_await soupCookies(std::move(session));
    if (!list)
        co_return std::unexpected(list.error());
    std::vector<HttpCookie> cookies;
    for (auto* item = list->get(); item; item = item->next)
        cookies.push_back(httpCookieFromSoup(static_cast<SoupCookie*>(item->data)));
    co_return cookies;
}

Task<void> addCookie(GObjectPtr<WebKitNetworkSession> session, HttpCookie cookie)
{
    co_await addSoupCookie(std::move(session), soupCookieFromHttp(cookie));
}

Task<void> copySessionCookies(GObjectPtr<WebKitNetworkSession> from, GObjectPtr<WebKitNetworkSession> to)
{
    auto list = co_await soupCookies(std::move(from));
    if (!list)
        co_return;
    for (auto* item = list->get(); item; item = item->next) {
        auto* cookie = static_cast<SoupCookie*>(item->data);
        if (!soup_cookie_get_expires(cookie))
            co_await addSoupCookie(to, SoupCookiePtr(soup_cookie_copy(cookie)));
    }
}

} // namespace cohortex
