#pragma once

#include "Engine/HttpCookie.h"
#include "Support/DefaultsStore.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The blob format that carries a workspace's session cookies from one run to the next.
namespace cohortex::SessionCookieCodec {

// Keeps only the session cookies; nothing when there are none, so that saving it deletes the old blob.
std::optional<Bytes> encode(std::span<const HttpCookie>);
// Whatever can be read back, in blob order; an unreadable blob yields no cookies.
std::vector<HttpCookie> decode(std::span<const std::uint8_t>);

} // namespace cohortex::SessionCookieCodec
