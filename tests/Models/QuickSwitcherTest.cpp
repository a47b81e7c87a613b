#include "Models/QuickSwitcher.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

struct Row {
    const char* title;
    const char* subtitle;
};

struct RankCase {
    const char* name;
    const char* query;
    std::vector<Row> rows;
    std::vector<std::string> expectedTitles;
};

class QuickSwitcherRank : public testing::TestWithParam<RankCase> { };

TEST_P(QuickSwitcherRank, KeepsMatchingRowsBestFirst)
{
    std::vector<SwitcherItem> items;
    for (const auto& row : GetParam().rows)
        items.emplace_back(Uuid::random(), std::nullopt, row.title, row.subtitle);
    std::vector<std::string> titles;
    for (const auto& item : QuickSwitcher::rank(GetParam().query, items))
        titles.push_back(item.title);
    EXPECT_EQ(titles, GetParam().expectedTitles);
}

using T = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(Rules, QuickSwitcherRank,
    testing::Values(
        // Scores 0, 1, 2 and 3 in that input order come out reversed.
        RankCase{ "ScoresZeroToThree", "mail acme",
            { { "Projects", "Acme · mail.acme.com" }, { "Acme Mail", "" }, { "Mail", "Acme" },
                { "Mail for Acme", "" } },
            T{ "Mail for Acme", "Mail", "Acme Mail", "Projects" } },
        RankCase{ "TitleStartNeedsTheFirstWord", "acme mail",
            { { "Mail for Acme", "" }, { "Acme Mail", "" } }, T{ "Acme Mail", "Mail for Acme" } },
        RankCase{ "EveryWordMustOccur", "mail zebra", { { "Mail", "" }, { "Zebra", "mail" }, { "Zoo", "" } },
            T{ "Zebra" } },
        RankCase{ "BlankQueryKeepsEverythingInOrder", " \t\n\u00A0",
            { { "B", "" }, { "A", "" }, { "C", "" } }, T{ "B", "A", "C" } },
        RankCase{ "EqualScoresKeepTheirOrder", "client",
            { { "Client B", "" }, { "Inbox", "Client B · mail.example.com" }, { "Client A", "" },
                { "Calendar", "Client A · calendar.example.com" } },
            T{ "Client B", "Client A", "Inbox", "Calendar" } },
        RankCase{ "UnicodeCaseIsIgnored", "ÄRZTE", { { "ärzte praxis", "" }, { "arzte", "" } },
            T{ "ärzte praxis" } },
        RankCase{ "SplitAtAnyWhiteSpace", "mail\u00A0acme", { { "Mail", "Acme" }, { "Mail acme", "" } },
            T{ "Mail acme", "Mail" } },
        RankCase{ "NoFuzzyMatching", "mla", { { "Mail", "" }, { "mla", "" } }, T{ "mla" } },
        // A blank joins title and subtitle, so a word cannot run from one into the other.
        RankCase{ "TitleAndSubtitleDoNotRunTogether", "bc", { { "ab", "cd" }, { "abc", "" } }, T{ "abc" } }),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace cohortex
