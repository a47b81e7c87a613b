#pragma once

#include "Engine/HttpCookie.h"
#include "Platform/Linux/GLibPtr.h"
#include "Support/Error.h"
#include "Support/Task.h"

#include <vector>
#include <webkit/webkit.h>

namespace cohortex {

// A network session's cookie jar, read and written through WebKit's cookie manager. Each call holds its
// own reference to the session, so whoever started it may drop the session meanwhile. A read that fails
// is an error, never an empty jar; a cookie that cannot be set is logged.
Task<Expected<std::vector<HttpCookie>>> allCookies(GObjectPtr<WebKitNetworkSession>);
Task<void> addCookie(GObjectPtr<WebKitNetworkSession>, HttpCookie);

// Copies the session cookies, those without an expiry, from one session's jar into another's, one after
// another. The others need no copying: a session over the same data directory reads them from its file.
Task<void> copySessionCookies(GObjectPtr<WebKitNetworkSession> from, GObjectPtr<WebKitNetworkSession> to);

} // namespace cohortex
