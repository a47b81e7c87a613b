#include "Models/LinkRouter.h"

#include <gtest/gtest.h>
#include <random>

namespace cohortex {
namespace {

struct NormalizeCase {
    const char* name;
    std::string_view typed;
    std::string_view expected;
};

class LinkRouterNormalize : public testing::TestWithParam<NormalizeCase> { };

TEST_P(LinkRouterNormalize, GivesTheCanonicalSite)
{
    EXPECT_EQ(LinkRouter::normalize(GetParam().typed), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, LinkRouterNormalize,
    testing::Values(NormalizeCase{ "Everything", " \t HTTPS://WWW.Example.COM/// \n", "example.com" },
        NormalizeCase{ "HttpWithPath", "http://example.com/Mail/Inbox/", "example.com/mail/inbox" },
        NormalizeCase{ "HttpsAlone", "https://", "" }, NormalizeCase{ "OnlyBlanks", " \u00A0\u3000\r\n", "" },
        NormalizeCase{ "OtherSchemeKept", "ftp://example.com", "ftp://example.com" },
        NormalizeCase{ "EachPrefixOnce", "https://http://www.www.example.com", "www.example.com" },
        NormalizeCase{ "HttpsTestedFirst", "http://https://example.com", "https://example.com" },
        NormalizeCase{ "WwwOnlyAtTheStart", "mail.www.example.com", "mail.www.example.com" },
        NormalizeCase{ "PortQueryFragmentStay", "Example.com:8080/a?B=1#Top/", "example.com:8080/a?b=1#top" },
        NormalizeCase{ "InnerBlanksStay", " exa mple.com ", "exa mple.com" },
        NormalizeCase{ "UnicodeLowerCase", "ÄRZTE.DE", "ärzte.de" }),
    [](const auto& info) { return info.param.name; });

Uuid workspace(std::uint8_t number)
{
    return Uuid(Uuid::Bytes{ number });
}

struct RouteCase {
    const char* name;
    std::vector<std::string> patterns; // rule i routes to workspace(i + 1)
    std::string_view link;
    std::optional<int> expectedRule;
};

std::vector<RoutingRule> rulesFor(const std::vector<std::string>& patterns)
{
    std::vector<RoutingRule> rules;
    for (std::size_t index = 0; index < patterns.size(); ++index)
        rules.push_back({ Uuid::random(), patterns[index], workspace(static_cast<std::uint8_t>(index + 1)) });
    return rules;
}

class LinkRouterRoute : public testing::TestWithParam<RouteCase> { };

TEST_P(LinkRouterRoute, PicksTheMostSpecificRuleAndCompiledRulesAgrees)
{
    auto rules = rulesFor(GetParam().patterns);
    auto url = Url::parse(GetParam().link);
    ASSERT_TRUE(url) << GetParam().link;
    std::optional<Uuid> expected;
    if (GetParam().expectedRule)
        expected = workspace(static_cast<std::uint8_t>(*GetParam().expectedRule + 1));
    EXPECT_EQ(LinkRouter::workspaceID(*url, rules), expected);
    EXPECT_EQ(CompiledRules(rules).workspaceID(*url), expected);
}

using P = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(Rules, LinkRouterRoute,
    testing::Values(RouteCase{ "EmptyList", {}, "https://example.com/", std::nullopt },
        RouteCase{ "WwwLink", P{ "example.com" }, "https://www.example.com/x", 0 },
        RouteCase{ "LookAlikeHost", P{ "example.com" }, "https://notexample.com/", std::nullopt },
        RouteCase{ "ParentDomainNotMatched", P{ "mail.example.com" }, "https://example.com/", std::nullopt },
        RouteCase{ "StoredFormNormalisedAgain", P{ " HTTPS://WWW.Example.com/ " }, "http://example.com", 0 },
        RouteCase{ "PathPlainPrefix", P{ "example.com/doc" }, "https://example.com/docsearch", 0 },
        RouteCase{ "PathOtherBranch", P{ "example.com/docs" }, "https://example.com/blog", std::nullopt },
        RouteCase{ "PathNeedsAPath", P{ "example.com/docs" }, "https://example.com", std::nullopt },
        RouteCase{ "PathIsDecoded", P{ "example.com/a b" }, "https://example.com/A%20B/c", 0 },
        RouteCase{ "QueryIsNoPath", P{ "example.com/?q" }, "https://example.com/?q=1", std::nullopt },
        RouteCase{ "LongerPathWinsOverEarlierHost", P{ "example.com", "example.com/docs" },
            "https://example.com/docs/x", 1 },
        RouteCase{
            "HostRuleTakesTheRest", P{ "example.com", "example.com/docs" }, "https://example.com/blog", 0 },
        RouteCase{
            "SubdomainRuleIsLonger", P{ "example.com", "mail.example.com" }, "https://mail.example.com/", 1 },
        RouteCase{ "EqualLengthFirstWins", P{ "example.com/ab", "example.com/a", "example.com/ac" },
            "https://example.com/abc", 0 },
        RouteCase{ "EqualLengthKeepsListOrderReversed", P{ "example.com/xy", "aa.example.com" },
            "https://aa.example.com/xy", 0 },
        RouteCase{ "PortNeverMatches", P{ "example.com:8080" }, "https://example.com:8080/", std::nullopt },
        RouteCase{ "PortRuleSkippedForHostRule", P{ "example.com:8080", "example.com" },
            "https://example.com:8080/", 1 },
        RouteCase{ "NoHost", P{ "example.com" }, "mailto:someone@example.com", std::nullopt },
        RouteCase{ "BlankRuleIgnored", P{ "   ", "https://", "example.com" }, "https://example.com/", 2 },
        RouteCase{ "OnlyOneWwwDropped", P{ "example.com" }, "https://www.www.example.com/", 0 },
        RouteCase{ "WwwRuleAfterNormalising", P{ "www.www.example.com" }, "https://www.www.example.com/", 0 },
        // The first pattern has more bytes and code points (x and two combining accents), the second
        // more user-perceived characters, which alone decide.
        RouteCase{ "LengthInCharacters", P{ "a.com/x\u0301\u0301", "bb.a.com" },
            "https://bb.a.com/x%CC%81%CC%81y", 1 }),
    [](const auto& info) { return info.param.name; });

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
