#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace cohortex::UnreadBadge {

// A leading bracketed number, "(3) Inbox" or "[12+] Chat"; the bracket kinds need not agree.
inline constexpr std::string_view leadingPattern = R"(^\s*[\(\[]\s*(\d{1,5})\s*\+?\s*[\)\]])";
// The word Inbox in any case followed by a bracketed number, anywhere in the title.
inline constexpr std::string_view inboxPattern = R"(\bInbox\s*\(\s*(\d{1,5})\s*\))";

// The unread count a page announces in its title, or nothing. A leading number wins over an Inbox one.
std::optional<std::int64_t> count(std::string_view title);

} // namespace cohortex::UnreadBadge
