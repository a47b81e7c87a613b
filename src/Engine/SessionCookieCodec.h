#pragma once

#include "Engine/HttpCookie.h"
#include "Support/DefaultsStore.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace cohortex {

// Turns a jar's session cookies into one opaque blob for the cookie vault, and a blob back into cookies.
//
// The blob is a binary property list: an array holding one dictionary per session cookie, in the order
// the jar listed them, with the string keys "name", "value", "domain", "path", "secure" (boolean),
// "httpOnly" (boolean), "sameSite" ("none", "lax" or "strict"; absent when the cookie does not say) and
// "expires" (a date; session cookies have none). Blobs outlive the process, so these names never change.
namespace SessionCookieCodec {

// Nothing when the list holds no session cookie worth keeping, or when serialising fails. A cookie whose
// text is not UTF-8 without NUL characters is left out: the property list could not keep it faithfully.
std::optional<Bytes> encode(std::span<const HttpCookie> cookies);

// Accepts any property-list format. A blob that is not an array of dictionaries decodes to no cookies;
// a dictionary that lacks the name, value, domain or path, or holds a value of the wrong type, is skipped.
std::vector<HttpCookie> decode(std::span<const std::uint8_t> blob);

} // namespace SessionCookieCodec

} // namespace cohortex
