#include "Models/UnreadBadge.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

TEST(UnreadBadge, ReadsTheCountFromALeadingNumberOrTheInbox)
{
    struct Case {
        const char* title;
        std::optional<std::int64_t> count;
    };
    // clang-format off
    for (auto [title, count] : {
             Case{ "(3) Inbox - Mail", 3 }, Case{ "[12] Chat", 12 }, Case{ "(123456) Too long", std::nullopt },
             Case{ "(3) Inbox (42)", 3 }, Case{ "Inbox (42) - ada@example.com", 42 }, Case{ "INBOX(5)", 5 },
             Case{ "Mail - inbox ( 8 )", 8 }, Case{ "Sandbox (4)", std::nullopt },
             Case{ "Inbox (123456) and (7) later", std::nullopt }, Case{ "(123456) Inbox (9)", 9 },
             Case{ "Report (3) draft", std::nullopt },
             // Arabic-Indic digits match the pattern's digit class but are not a count.
             Case{ "(\u0663) Arabic digits", std::nullopt }, Case{ "(\u0663) Inbox (2)", 2 },
             Case{ "\xff\xfe (3) broken bytes", std::nullopt } })
        EXPECT_EQ(UnreadBadge::count(title), count) << title;
    // clang-format on
}

} // namespace
} // namespace cohortex
