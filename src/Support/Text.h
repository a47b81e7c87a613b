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

// Text from outside (a name, a link, an argument) made safe to print on a terminal: control characters
// (C0, DEL, C1), bidirectional controls and line or paragraph separators are written as escapes ("\x1B",
// "\u202E"), and so are bytes that are not UTF-8, so what is printed can neither move the cursor, retitle
// the terminal, reorder what follows nor forge a line. Everything else is kept as it is.
std::string terminalSafe(std::string_view text);

} // namespace cohortex
