#pragma once

#include "Engine/WebEngine.h"

#include <optional>
#include <string>
#include <utility>

namespace cohortex {

// A user name and password for a proxy.
using ProxyCredential = std::pair<std::string, std::string>;

// How a store's requests reach its proxy. A SOCKS5 proxy gets its credential inside the proxy URI,
// which is the only way GIO's SOCKS client accepts one. An HTTP proxy gets none there: it asks with a
// 407 answer, and the page's view answers with the credential kept here, so the password never ends up
// in a URI that WebKit may log or show.
struct ProxyRoute {
    std::string uri;
    std::optional<ProxyCredential> credential;

    // A credential needs a user name and a password; with either missing the proxy is used without one.
    static ProxyRoute forSettings(const ProxySettings&);
};

} // namespace cohortex
