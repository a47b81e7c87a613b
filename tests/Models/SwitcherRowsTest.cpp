#include "Models/SwitcherRows.h"

#include <gtest/gtest.h>
#include <vector>

namespace cohortex {
namespace {

struct MoveCase {
    const char* name;
    std::size_t start;
    std::vector<SwitcherKey> keys;
    std::size_t resultCount;
    std::size_t expected;
};

class SwitcherRowsMove : public testing::TestWithParam<MoveCase> { };

TEST_P(SwitcherRowsMove, ClampsToTheResults)
{
    SwitcherRows rows;
    for (std::size_t step = 0; step < GetParam().start; ++step)
        rows.handleKey(SwitcherKey::Down, 100);
    for (auto key : GetParam().keys)
        EXPECT_TRUE(rows.handleKey(key, GetParam().resultCount).isConsumed);
    EXPECT_EQ(rows.selection(), GetParam().expected);
}

using enum SwitcherKey;

INSTANTIATE_TEST_SUITE_P(Keys, SwitcherRowsMove,
    testing::Values(MoveCase{ "DownMoves", 0, { Down, Down }, 5, 2 },
        MoveCase{ "DownStopsOnTheLastRow", 3, { Down, Down }, 4, 3 }, MoveCase{ "UpMoves", 3, { Up }, 5, 2 },
        MoveCase{ "UpStopsOnTheFirstRow", 0, { Up, Up }, 5, 0 },
        MoveCase{ "DownWithoutResultsGoesToTheTop", 7, { Down }, 0, 0 },
        // Past the end after the list shrank, Down pulls the highlight back onto the last row.
        MoveCase{ "DownPastTheEndComesBack", 7, { Down }, 3, 2 },
        MoveCase{ "UpPastTheEndStepsBackOnce", 7, { Up }, 3, 6 }),
    [](const auto& info) { return info.param.name; });

TEST(SwitcherRows, EscapeClosesAndOtherKeysPassToTheField)
{
    SwitcherRows rows;
    EXPECT_EQ(rows.handleKey(SwitcherKey::Escape, 3), (SwitcherKeyOutcome{ true, true }));
    EXPECT_EQ(rows.handleKey(SwitcherKey::Other, 3), (SwitcherKeyOutcome{ false, false }));
}

TEST(SwitcherRows, TypingPutsTheHighlightBackOnTheFirstRow)
{
    SwitcherRows rows;
    rows.handleKey(SwitcherKey::Down, 5);
    rows.handleKey(SwitcherKey::Down, 5);
    rows.setQuery("ma");
    EXPECT_EQ(rows.selection(), 0u);
    rows.handleKey(SwitcherKey::Down, 5);
    rows.reset();
    EXPECT_EQ(rows.query(), "");
    EXPECT_EQ(rows.selection(), 0u);
}

TEST(SwitcherRows, ReturnOpensTheHighlightOrTheLastRowAndNothingWithoutResults)
{
    SwitcherRows rows;
    EXPECT_EQ(rows.chosenIndex(0), std::nullopt);
    EXPECT_EQ(rows.chosenIndex(4), 0u);
    for (int step = 0; step < 3; ++step)
        rows.handleKey(SwitcherKey::Down, 4);
    EXPECT_EQ(rows.chosenIndex(4), 3u);
    EXPECT_EQ(rows.chosenIndex(2), 1u);
    EXPECT_EQ(rows.chosenIndex(0), std::nullopt);
}

struct BadgeCase {
    const char* name;
    bool isTab;
    std::int64_t unread;
    std::optional<std::string> expected;
};

class SwitcherRowsBadge : public testing::TestWithParam<BadgeCase> { };

TEST_P(SwitcherRowsBadge, ShowsTheCappedCountOnWorkspaceRows)
{
    auto tab = GetParam().isTab ? std::optional(Uuid::random()) : std::nullopt;
    SwitcherItem item(Uuid::random(), tab, "Mail", "");
    EXPECT_EQ(SwitcherRows::unreadText(item, GetParam().unread), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Counts, SwitcherRowsBadge,
    testing::Values(BadgeCase{ "None", false, 0, std::nullopt },
        BadgeCase{ "Negative", false, -3, std::nullopt }, BadgeCase{ "One", false, 1, "1" },
        BadgeCase{ "AtTheCap", false, 99, "99" }, BadgeCase{ "OverTheCap", false, 150, "99" },
        BadgeCase{ "TabRowsNever", true, 12, std::nullopt }),
    [](const auto& info) { return info.param.name; });

TEST(SwitcherRows, RowsAreRankedWithBadgesAndTheHighlight)
{
    Uuid mail = Uuid::random();
    Uuid chat = Uuid::random();
    std::vector<SwitcherItem> items{ { mail, std::nullopt, "Mail", "mail.example.com" },
        { mail, Uuid::random(), "Inbox (150)", "Mail · mail.example.com" },
        { chat, std::nullopt, "Chat", "chat.example.com" } };
    auto unread = [&](const Uuid& id) -> std::int64_t { return id == mail ? 150 : 0; };
    SwitcherRows rows;
    rows.setQuery("example");
    rows.handleKey(SwitcherKey::Down, 3);
    auto shown = rows.rows(items, unread);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].badge, "99");
    EXPECT_EQ(shown[1].badge, std::nullopt);
    EXPECT_EQ(shown[2].badge, std::nullopt);
    EXPECT_FALSE(shown[0].isHighlighted);
    EXPECT_TRUE(shown[1].isHighlighted);

    rows.setQuery("chat");
    shown = rows.rows(items, unread);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].item.workspaceId, chat);
    EXPECT_TRUE(shown[0].isHighlighted);
}

} // namespace
} // namespace cohortex
