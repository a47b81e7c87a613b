#include "Models/SwitcherRows.h"

#include "Models/QuickSwitcher.h"

#include <gtest/gtest.h>
#include <vector>

namespace cohortex {
namespace {

using enum SwitcherKey;

// Return opens the highlighted row, or the last one when the list shrank under the highlight.
TEST(SwitcherRows, ArrowsMoveTheHighlightWithinTheResultsAndReturnOpensIt)
{
    SwitcherRows rows;
    EXPECT_EQ(rows.chosenIndex(0), std::nullopt);
    rows.handleKey(Up, 4);
    EXPECT_EQ(rows.chosenIndex(4), 0u);
    for (int step = 0; step < 5; ++step)
        EXPECT_TRUE(rows.handleKey(Down, 4).isConsumed);
    EXPECT_EQ(rows.chosenIndex(4), 3u);
    EXPECT_EQ(rows.chosenIndex(2), 1u);
    rows.setQuery("ma");
    EXPECT_EQ(rows.selection(), 0u) << "typing starts again at the first row";
    EXPECT_EQ(rows.handleKey(Escape, 3), (SwitcherKeyOutcome{ true, true }));
    EXPECT_EQ(rows.handleKey(Other, 3), (SwitcherKeyOutcome{ false, false }));
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
    auto shown = rows.rows(items, count);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].badge, "99");
    EXPECT_EQ(shown[1].badge, std::nullopt);
    EXPECT_EQ(shown[2].badge, std::nullopt);
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
