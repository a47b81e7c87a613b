#include "Models/LinkRouter.h"

#include "Models/RoutingRule.h"

#include <gtest/gtest.h>

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
             Case{ "LongerPathWinsOverEarlierHost", P{ "example.com", "example.com/docs" },
                 "https://example.com/docs/x", 1 },
             Case{ "SubdomainRuleIsLonger", P{ "example.com", "mail.example.com" },
                 "https://mail.example.com/", 1 },
             Case{ "EqualLengthFirstWins", P{ "example.com/xy", "aa.example.com" },
                 "https://aa.example.com/xy", 0 },
             Case{ "PortRuleSkippedForHostRule", P{ "example.com:8080", "example.com" },
                 "https://example.com:8080/", 1 },
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

Expected<std::vector<RoutingRule>> decode(std::string_view text)
{
    return decodeRoutingRules(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

const RoutingRule sample{ *Uuid::parse("0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f9"), "example.com/Mail",
    *Uuid::parse("11111111-2222-4333-8444-555555555555") };

TEST(RoutingRuleTest, ListRoundTripKeepsOrderAndPatternsAsStored)
{
    std::vector<RoutingRule> rules{ sample, { Uuid::random(), " HTTPS://Ünïcode.example/ ", Uuid::random() },
        { Uuid::random(), "", sample.workspaceId } };
    auto encoded = encodeRoutingRules(rules);
    auto decoded = decode(encoded);
    ASSERT_TRUE(decoded) << decoded.error().message;
    EXPECT_EQ(*decoded, rules);
    EXPECT_EQ(std::hash<RoutingRule>{}((*decoded)[1]), std::hash<RoutingRule>{}(rules[1]));
}

TEST(RoutingRuleTest, OneDamagedRuleOrAnythingButAnArrayFailsTheWholeList)
{
    for (const char* bad : { R"({"id":"0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9","workspaceId":null})",
             R"({"id":"0F1E2D3C","pattern":"a.com","workspaceId":"11111111-2222-4333-8444-555555555555"})",
             R"("a.com")" })
        EXPECT_FALSE(decode(Json::array({ sample.toJson(), Json::parse(bad) }).dump())) << bad;
    for (const char* text : { "{}", "", "[{" })
        EXPECT_FALSE(decode(text)) << text;
    EXPECT_TRUE(decode("[]"));
}

} // namespace
} // namespace cohortex
