#include "Models/SwitcherRows.h"

#include "Models/QuickSwitcher.h"

#include <gtest/gtest.h>
#include <vector>

namespace cohortex {
namespace {

using enum SwitcherKey;

TEST(SwitcherRows, ArrowsMoveTheHighlightWithinTheResults)
{
    struct Case {
        std::size_t start;
        std::vector<SwitcherKey> keys;
        std::size_t resultCount, expected;
    };
    // The last two: past the end after the list shrank, Down comes back onto the last row, Up steps once.
    for (const auto& [start, keys, resultCount, expected] :
        { Case{ 3, { Down, Down }, 4, 3 }, Case{ 0, { Up, Up }, 5, 0 }, Case{ 7, { Down }, 0, 0 },
            Case{ 7, { Down }, 3, 2 }, Case{ 7, { Up }, 3, 6 } }) {
        SwitcherRows rows;
        for (std::size_t step = 0; step < start; ++step)
            rows.handleKey(Down, 100);
        for (auto key : keys)
            EXPECT_TRUE(rows.handleKey(key, resultCount).isConsumed);
        EXPECT_EQ(rows.selection(), expected) << "from " << start << " among " << resultCount;
    }
    SwitcherRows rows;
    EXPECT_EQ(rows.handleKey(Escape, 3), (SwitcherKeyOutcome{ true, true }));
    EXPECT_EQ(rows.handleKey(Other, 3), (SwitcherKeyOutcome{ false, false }));
}

TEST(SwitcherRows, ReturnOpensTheHighlightOrTheLastRowAndTypingStartsAgainAtTheFirst)
{
    SwitcherRows rows;
    EXPECT_EQ(rows.chosenIndex(0), std::nullopt);
    EXPECT_EQ(rows.chosenIndex(4), 0u);
    for (int step = 0; step < 3; ++step)
        rows.handleKey(Down, 4);
    EXPECT_EQ(rows.chosenIndex(4), 3u);
    EXPECT_EQ(rows.chosenIndex(2), 1u);
    rows.setQuery("ma");
    EXPECT_EQ(rows.selection(), 0u);
    rows.handleKey(Down, 5);
    rows.reset();
    EXPECT_EQ(rows.query(), "");
    EXPECT_EQ(rows.selection(), 0u);
}

TEST(SwitcherRows, OnlyWorkspaceRowsShowTheCappedUnreadCount)
{
    Uuid mail = Uuid::random(), chat = Uuid::random();
    std::vector<SwitcherItem> items{ { mail, std::nullopt, "Mail", "mail.example.com" },
        { mail, Uuid::random(), "Inbox (150)", "Mail · mail.example.com" },
        { chat, std::nullopt, "Chat", "chat.example.com" } };
    auto count = [&](const Uuid& id) -> std::int64_t { return id == mail ? 150 : -3; };
    SwitcherRows rows;
    rows.setQuery("example");
    rows.handleKey(Down, 3);
    auto shown = rows.rows(items, count);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].badge, "99");
    EXPECT_EQ(shown[1].badge, std::nullopt);
    EXPECT_EQ(shown[2].badge, std::nullopt);
    EXPECT_FALSE(shown[0].isHighlighted);
    EXPECT_TRUE(shown[1].isHighlighted);
    rows.setQuery("chat");
    shown = rows.rows(items, count);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].item.workspaceId, chat);
    EXPECT_TRUE(shown[0].isHighlighted);
}

TEST(QuickSwitcher, KeepsMatchingRowsBestFirst)
{
    using Rows = std::vector<std::pair<const char*, const char*>>;
    using Titles = std::vector<std::string>;
    struct Case {
        const char* query;
        Rows rows;
        Titles expected;
    };
    // clang-format off
    for (const auto& [query, rows, expected] : {
             // Scores 0, 1, 2 and 3 in that input order come out reversed.
             Case{ "mail acme", Rows{ { "Projects", "Acme · mail.acme.com" }, { "Acme Mail", "" }, { "Mail", "Acme" }, { "Mail for Acme", "" } },
                 Titles{ "Mail for Acme", "Mail", "Acme Mail", "Projects" } },
             Case{ "acme mail", Rows{ { "Mail for Acme", "" }, { "Acme Mail", "" } }, Titles{ "Acme Mail", "Mail for Acme" } },
             Case{ "mail zebra", Rows{ { "Mail", "" }, { "Zebra", "mail" }, { "Zoo", "" } }, Titles{ "Zebra" } },
             Case{ " \t\n\u00A0", Rows{ { "B", "" }, { "A", "" }, { "C", "" } }, Titles{ "B", "A", "C" } },
             Case{ "ÄRZTE", Rows{ { "ärzte praxis", "" }, { "arzte", "" } }, Titles{ "ärzte praxis" } },
             // A blank joins title and subtitle, so a word cannot run from one into the other.
             Case{ "bc", Rows{ { "ab", "cd" }, { "abc", "" } }, Titles{ "abc" } } }) {
        // clang-format on
        std::vector<SwitcherItem> items;
        for (auto [title, subtitle] : rows)
            items.emplace_back(Uuid::random(), std::nullopt, title, subtitle);
        Titles titles;
        for (const auto& item : QuickSwitcher::rank(query, items))
            titles.push_back(item.title);
        EXPECT_EQ(titles, expected) << query;
    }
}

} // namespace
} // namespace cohortex
