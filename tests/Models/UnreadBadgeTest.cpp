#include "Models/UnreadBadge.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

struct TitleCase {
    const char* title;
    std::optional<std::int64_t> expected;
};

class UnreadBadgeTest : public ::testing::TestWithParam<TitleCase> { };

TEST_P(UnreadBadgeTest, ReadsTheCountFromTheTitle)
{
    EXPECT_EQ(UnreadBadge::count(GetParam().title), GetParam().expected) << GetParam().title;
}

INSTANTIATE_TEST_SUITE_P(Leading, UnreadBadgeTest,
    ::testing::Values(TitleCase{ "(3) Inbox - Mail", 3 }, TitleCase{ "[12] Chat", 12 },
        TitleCase{ "(7] mismatched brackets", 7 }, TitleCase{ "  ( 4 + ) spaced", 4 },
        TitleCase{ "(00042) Padded", 42 }, TitleCase{ "(123456) Too long", std::nullopt },
        TitleCase{ "(3) Inbox (42)", 3 }));

INSTANTIATE_TEST_SUITE_P(Inbox, UnreadBadgeTest,
    ::testing::Values(TitleCase{ "Inbox (42) - ada@example.com", 42 }, TitleCase{ "INBOX(5)", 5 },
        TitleCase{ "Mail - inbox ( 8 )", 8 }, TitleCase{ "Sandbox (4)", std::nullopt },
        TitleCase{ "Inbox (123456) and (7) later", std::nullopt }, TitleCase{ "(123456) Inbox (9)", 9 }));

INSTANTIATE_TEST_SUITE_P(Nothing, UnreadBadgeTest,
    ::testing::Values(TitleCase{ "", std::nullopt }, TitleCase{ "Report (3) draft", std::nullopt },
        TitleCase{ "(three) words", std::nullopt },
        // Arabic-Indic digits match the pattern's digit class but are not a count.
        TitleCase{ "(\u0663) Arabic digits", std::nullopt }, TitleCase{ "(\u0663) Inbox (2)", 2 },
        TitleCase{ "\xff\xfe (3) broken bytes", std::nullopt }));

} // namespace
} // namespace cohortex
