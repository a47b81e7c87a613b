#include "Engine/WebKitGtk/SoupCookies.h"

#include <cmath>

namespace cohortex {

namespace {

constexpr double microsecondsPerSecond = 1e6;

struct DateTimeUnref {
    void operator()(GDateTime* time) const { g_date_time_unref(time); }
};
using DateTimePtr = std::unique_ptr<GDateTime, DateTimeUnref>;

Date dateFromDateTime(GDateTime* time)
{
    auto seconds = static_cast<double>(g_date_time_to_unix(time));
    return Date::fromUnixTime(seconds + g_date_time_get_microsecond(time) / microsecondsPerSecond);
}

DateTimePtr dateTimeFromDate(Date date)
{
    double whole = std::floor(date.unixTime());
    DateTimePtr seconds(g_date_time_new_from_unix_utc(static_cast<gint64>(whole)));
    auto microseconds = std::llround((date.unixTime() - whole) * microsecondsPerSecond);
    if (!seconds || microseconds == 0)
        return seconds;
    return DateTimePtr(g_date_time_add(seconds.get(), microseconds));
}

HttpCookie::SameSite sameSiteFromSoup(SoupSameSitePolicy policy)
{
    switch (policy) {
    case SOUP_SAME_SITE_POLICY_NONE:
        return HttpCookie::SameSite::None;
    case SOUP_SAME_SITE_POLICY_LAX:
        return HttpCookie::SameSite::Lax;
    case SOUP_SAME_SITE_POLICY_STRICT:
        return HttpCookie::SameSite::Strict;
    }
    return HttpCookie::SameSite::Unspecified;
}

void applySameSite(SoupCookie* cookie, HttpCookie::SameSite sameSite)
{
    switch (sameSite) {
    case HttpCookie::SameSite::Unspecified:
        return;
    case HttpCookie::SameSite::None:
        return soup_cookie_set_same_site_policy(cookie, SOUP_SAME_SITE_POLICY_NONE);
    case HttpCookie::SameSite::Lax:
        return soup_cookie_set_same_site_policy(cookie, SOUP_SAME_SITE_POLICY_LAX);
    case HttpCookie::SameSite::Strict:
        return soup_cookie_set_same_site_policy(cookie, SOUP_SAME_SITE_POLICY_STRICT);
    }
}

std::string text(const char* value)
{
    return value ? value : "";
}

} // namespace

HttpCookie httpCookieFromSoup(SoupCookie* soup)
{
    HttpCookie cookie;
    cookie.name = text(soup_cookie_get_name(soup));
    cookie.value = text(soup_cookie_get_value(soup));
    cookie.domain = text(soup_cookie_get_domain(soup));
    cookie.path = text(soup_cookie_get_path(soup));
    if (auto* expires = soup_cookie_get_expires(soup))
        cookie.expires = dateFromDateTime(expires);
    cookie.secure = soup_cookie_get_secure(soup);
    cookie.httpOnly = soup_cookie_get_http_only(soup);
    cookie.sameSite = sameSiteFromSoup(soup_cookie_get_same_site_policy(soup));
    return cookie;
}

SoupCookiePtr soupCookieFromHttp(const HttpCookie& cookie)
{
    // A negative maximum age makes a session cookie; a stored expiry date replaces it below.
    SoupCookiePtr soup(soup_cookie_new(
        cookie.name.c_str(), cookie.value.c_str(), cookie.domain.c_str(), cookie.path.c_str(), -1));
    if (cookie.expires) {
        if (auto expires = dateTimeFromDate(*cookie.expires))
            soup_cookie_set_expires(soup.get(), expires.get());
    }
    soup_cookie_set_secure(soup.get(), cookie.secure);
    soup_cookie_set_http_only(soup.get(), cookie.httpOnly);
    applySameSite(soup.get(), cookie.sameSite);
    return soup;
}

} // namespace cohortex
