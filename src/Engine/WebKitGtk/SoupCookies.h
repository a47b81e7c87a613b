#pragma once

#include "Engine/HttpCookie.h"

#include <libsoup/soup.h>
#include <memory>

namespace cohortex {

struct SoupCookieFree {
    void operator()(SoupCookie* cookie) const { soup_cookie_free(cookie); }
};
using SoupCookiePtr = std::unique_ptr<SoupCookie, SoupCookieFree>;

// The engine's cookies and ours carry the same fields. libsoup has no way to say that a cookie left its
// SameSite policy unspecified: such a cookie takes libsoup's default, None, and reads back as None.
HttpCookie httpCookieFromSoup(SoupCookie*);
SoupCookiePtr soupCookieFromHttp(const HttpCookie&);

} // namespace cohortex
