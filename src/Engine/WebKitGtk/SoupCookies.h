#pragma once

#include "Engine/HttpCookie.h"

#include <libsoup/soup.h>
#include <memory>

namespace cohortex {

struct SoupCookieFree {
    void operator()(SoupCookie* cookie) const { soup_cookie_free(cookie); }
};
using SoupCookiePtr = std::unique_ptr<SoupCookie, SoupCookieFree>;

// The engine's cookies and ours carry the same fields. An unspecified SameSite policy is left to the
// engine's default, because libsoup has no way to say "unspecified".
HttpCookie httpCookieFromSoup(SoupCookie*);
SoupCookiePtr soupCookieFromHttp(const HttpCookie&);

} // namespace cohortex
