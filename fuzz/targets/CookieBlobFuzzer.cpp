#include "Engine/SessionCookieCodec.h"

#include <cstdlib>

// Cookie blobs come back from the keyring, where anything with access to it may have changed them:
// decoding must never crash, and the session cookies it accepts must survive another round trip unchanged.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace cohortex;
    auto decoded = SessionCookieCodec::decode(std::span(data, size));

    std::vector<HttpCookie> sessionCookies;
    for (auto& cookie : decoded) {
        if (cookie.isSessionOnly())
            sessionCookies.push_back(cookie);
    }
    auto encoded = SessionCookieCodec::encode(decoded);
    if (encoded.has_value() == sessionCookies.empty())
        std::abort();
    if (encoded && SessionCookieCodec::decode(*encoded) != sessionCookies)
        std::abort();
    return 0;
}
