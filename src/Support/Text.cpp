#include "Support/Text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

namespace cohortex {

namespace {

bool isWhitespace(UChar32 c)
{
    return c >= 0 && u_isUWhiteSpace(c);
}

bool needsEscapeOnTerminal(UChar32 c)
{
    auto category = u_charType(c);
    return category == U_CONTROL_CHAR || category == U_LINE_SEPARATOR || category == U_PARAGRAPH_SEPARATOR
        || u_hasBinaryProperty(c, UCHAR_BIDI_CONTROL);
}

std::string escaped(const char* format, unsigned value)
{
    char text[12];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

std::string_view trimWhitespace(std::string_view text)
{
    auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    int32_t length = static_cast<int32_t>(text.size());
    int32_t start = 0;
    while (start < length) {
        int32_t next = start;
        UChar32 c;
        U8_NEXT(bytes, next, length, c);
        if (!isWhitespace(c))
            break;
        start = next;
    }
    int32_t end = length;
    while (end > start) {
        int32_t previous = end;
        UChar32 c;
        U8_PREV(bytes, start, previous, c);
        if (!isWhitespace(c))
            break;
        end = previous;
    }
    return text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

std::string toLowerCase(std::string_view text)
{
    // For ASCII the Unicode rules come down to A-Z, and ASCII is nearly all the text the quick switcher
    // and the link router lower-case on every key press and link, so it skips ICU's conversions.
    if (std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        std::string result(text);
        for (char& c : result) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return result;
    }
    auto unicode
        = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    unicode.toLower(icu::Locale::getRoot());
    std::string result;
    unicode.toUTF8String(result);
    return result;
}

bool isValidUtf8(std::string_view text)
{
    // ICU counts in 32-bit offsets; nothing this program checks comes near that size.
    if (text.size() > static_cast<std::size_t>(INT32_MAX))
        return false;
    auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    int32_t length = static_cast<int32_t>(text.size());
    for (int32_t offset = 0; offset < length;) {
        UChar32 c;
        U8_NEXT(bytes, offset, length, c);
        if (c < 0)
            return false;
    }
    return true;
}

std::string terminalSafe(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    auto length = static_cast<int32_t>(std::min(text.size(), static_cast<std::size_t>(INT32_MAX)));
    for (int32_t offset = 0; offset < length;) {
        int32_t start = offset;
        UChar32 c;
        U8_NEXT(bytes, offset, length, c);
        if (c < 0) {
            for (int32_t index = start; index < offset; ++index)
                result += escaped("\\x%02X", bytes[index]);
        } else if (c < 0x80 && needsEscapeOnTerminal(c)) {
            result += escaped("\\x%02X", static_cast<unsigned>(c));
        } else if (needsEscapeOnTerminal(c)) {
            result += escaped("\\u%04X", static_cast<unsigned>(c));
        } else {
            result.append(
                text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(offset - start)));
        }
    }
    return result;
}

} // namespace cohortex
