#pragma once

#include <string>
#include <string_view>

namespace cohortex {

// Removes Unicode white space and line breaks at both ends of UTF-8 text (invalid bytes are kept).
std::string_view trimWhitespace(std::string_view text);

// Lower-cases UTF-8 text with Unicode rules, independent of the user's locale.
std::string toLowerCase(std::string_view text);

// Whether the bytes are well-formed UTF-8: no stray or truncated sequences, overlong forms or
// surrogates. NUL characters are well-formed.
bool isValidUtf8(std::string_view text);

} // namespace cohortex
