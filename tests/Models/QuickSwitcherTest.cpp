#include "Models/QuickSwitcher.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

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
             Case{ "client", Rows{ { "Client B", "" }, { "Inbox", "Client B · mail.example.com" }, { "Client A", "" },
                     { "Calendar", "Client A · calendar.example.com" } }, Titles{ "Client B", "Client A", "Inbox", "Calendar" } },
             Case{ "ÄRZTE", Rows{ { "ärzte praxis", "" }, { "arzte", "" } }, Titles{ "ärzte praxis" } },
             Case{ "mail\u00A0acme", Rows{ { "Mail", "Acme" }, { "Mail acme", "" } }, Titles{ "Mail acme", "Mail" } },
             Case{ "mla", Rows{ { "Mail", "" }, { "mla", "" } }, Titles{ "mla" } },
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
