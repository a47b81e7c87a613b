#include "Models/UnreadBadge.h"

#include <memory>
#include <unicode/regex.h>
#include <unicode/unistr.h>

namespace cohortex::UnreadBadge {

namespace {

std::unique_ptr<icu::RegexMatcher> compile(std::string_view pattern, uint32_t flags)
{
    UErrorCode status = U_ZERO_ERROR;
    auto text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(pattern.data(), static_cast<int32_t>(pattern.size())));
    std::unique_ptr<icu::RegexMatcher> matcher(new icu::RegexMatcher(text, flags, status));
    if (U_FAILURE(status))
        return nullptr;
    return matcher;
}

// Matchers are compiled once and reset for each title; titles are read on the main thread only, but
// a matcher per thread keeps a stray caller from another thread safe too.
icu::RegexMatcher* matcher(int which)
{
    thread_local auto leading = compile(leadingPattern, 0);
    thread_local auto inbox = compile(inboxPattern, UREGEX_CASE_INSENSITIVE);
    return which == 0 ? leading.get() : inbox.get();
}

// Only ASCII digits count: the pattern's digit class also takes other scripts' digits.
std::optional<std::int64_t> parseAsciiDigits(const icu::UnicodeString& digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    std::int64_t value = 0;
    for (int32_t i = 0; i < digits.length(); ++i) {
        char16_t c = digits.charAt(i);
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return value;
}

std::optional<std::int64_t> firstMatch(icu::RegexMatcher* matcher, const icu::UnicodeString& title)
{
    if (!matcher)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    matcher->reset(title);
    if (!matcher->find(0, status) || U_FAILURE(status))
        return std::nullopt;
    auto group = matcher->group(1, status);
    if (U_FAILURE(status) || matcher->start(1, status) < 0)
        return std::nullopt;
    return parseAsciiDigits(group);
}

} // namespace

std::optional<std::int64_t> count(std::string_view title)
{
    auto text
        = icu::UnicodeString::fromUTF8(icu::StringPiece(title.data(), static_cast<int32_t>(title.size())));
    for (int which : { 0, 1 }) {
        if (auto value = firstMatch(matcher(which), text))
            return value;
    }
    return std::nullopt;
}

} // namespace cohortex::UnreadBadge
