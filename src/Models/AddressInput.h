#pragma once

#include "Support/Url.h"

#include <optional>
#include <string_view>

namespace cohortex {

// Where address-field text that is not an address goes; the encoded text follows directly.
inline constexpr std::string_view webSearchEndpoint = "https://www.google.com/search?q=";

// What the address field loads when the user submits the typed text: an http(s) address as typed,
// "localhost" and "127.0.0.1" over http, anything with a dot and no space over https, and a web search
// for everything else. Nothing when the text is blank or the result is not a valid URL.
std::optional<Url> urlFromAddressInput(std::string_view typed);

} // namespace cohortex
