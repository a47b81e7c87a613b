#include "Models/LinkRouter.h"

#include <gtest/gtest.h>
#include <random>

namespace cohortex {
namespace {

TEST(LinkRouterTest, NormalizeGivesTheCanonicalSite)
{
    // clang-format off
    for (auto [typed, expected] : std::initializer_list<std::pair<std::string_view, std::string_view>>{
             { " \t HTTPS://WWW.Example.COM/// \n", "example.com" }, { "http://example.com/Mail/Inbox/", "example.com/mail/inbox" },
             { " \u00A0\u3000\r\n", "" }, { "ftp://example.com", "ftp://example.com" },
             { "http://https://example.com", "https://example.com" }, { "ÄRZTE.DE", "ärzte.de" } })
        // clang-format on
        EXPECT_EQ(LinkRouter::normalize(typed), expected) << typed;
}

Uuid workspace(std::uint8_t number)
{
    return Uuid(Uuid::Bytes{ number });
}

std::vector<RoutingRule> rulesFor(const std::vector<std::string>& patterns)
{
    std::vector<RoutingRule> rules;
    for (std::size_t index = 0; index < patterns.size(); ++index)
        rules.push_back({ Uuid::random(), patterns[index], workspace(static_cast<std::uint8_t>(index + 1)) });
    return rules;
}

TEST(LinkRouterTest, PicksTheMostSpecificRuleAndCompiledRulesAgrees)
{
    using P = std::vector<std::string>;
    struct Case {
        const char* name;
        P patterns; // rule i routes to workspace(i + 1)
        std::string_view link;
        std::optional<int> expectedRule;
    };
    for (const auto& c : { Case{ "WwwLink", P{ "example.com" }, "https://www.example.com/x", 0 },
             Case{ "LookAlikeHost", P{ "example.com" }, "https://notexample.com/", std::nullopt },
             Case{ "PathPlainPrefix", P{ "example.com/doc" }, "https://example.com/docsearch", 0 },
             Case{ "PathNeedsAPath", P{ "example.com/docs" }, "https://example.com", std::nullopt },
             Case{ "PathIsDecoded", P{ "example.com/a b" }, "https://example.com/A%20B/c", 0 },
             Case{ "LongerPathWinsOverEarlierHost", P{ "example.com", "example.com/docs" },
                 "https://example.com/docs/x", 1 },
             Case{ "SubdomainRuleIsLonger", P{ "example.com", "mail.example.com" },
                 "https://mail.example.com/", 1 },
             Case{ "EqualLengthFirstWins", P{ "example.com/xy", "aa.example.com" },
                 "https://aa.example.com/xy", 0 },
             Case{ "PortRuleSkippedForHostRule", P{ "example.com:8080", "example.com" },
                 "https://example.com:8080/", 1 },
             Case{ "OnlyOneWwwDropped", P{ "example.com" }, "https://www.www.example.com/", 0 },
             // The first pattern has more bytes and code points (x and two combining accents), the second
             // more user-perceived characters, which alone decide.
             Case{ "LengthInCharacters", P{ "a.com/x\u0301\u0301", "bb.a.com" },
                 "https://bb.a.com/x%CC%81%CC%81y", 1 } }) {
        SCOPED_TRACE(c.name);
        auto rules = rulesFor(c.patterns);
        auto url = Url::parse(c.link);
        ASSERT_TRUE(url);
        std::optional<Uuid> expected;
        if (c.expectedRule)
            expected = workspace(static_cast<std::uint8_t>(*c.expectedRule + 1));
        EXPECT_EQ(LinkRouter::workspaceID(*url, rules), expected);
        EXPECT_EQ(CompiledRules(rules).workspaceID(*url), expected);
    }
}

// The compiled lists index rules by host; random lists over a small alphabet reach the corners where
// an index goes wrong: dots at either end, empty hosts, equal lengths, "www." in odd places.
TEST(CompiledRulesTest, AgreesWithTheReferenceOnRandomLists)
{
    std::mt19937 random(20250305);
    const std::vector<std::string> pieces{ "a", "b", ".", "/", "www.", "A", ":1", "\u00e9", "e\u0301", " " };
    auto text = [&](int maximum) {
        std::string result;
        for (int count = std::uniform_int_distribution(0, maximum)(random); count > 0; --count)
            result += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        return result;
    };
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> patterns;
        for (int count = std::uniform_int_distribution(0, 12)(random); count > 0; --count)
            patterns.push_back(text(6));
        auto rules = rulesFor(patterns);
        CompiledRules compiled(rules);
        for (int link = 0; link < 10; ++link) {
            std::string host;
            for (char c : text(6))
                host += (c == '/' || c == ':' || c == ' ' || (c & 0x80)) ? 'a' : c;
            auto url = Url::parse("https://" + host + "/" + (link % 2 ? "a/b" : "B"));
            if (!url)
                continue;
            EXPECT_EQ(compiled.workspaceID(*url), LinkRouter::workspaceID(*url, rules))
                << url->absoluteString() << " against " << testing::PrintToString(patterns);
        }
    }
}

} // namespace
} // namespace cohortex
