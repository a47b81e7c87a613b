#include "Models/RoutingRule.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

Expected<std::vector<RoutingRule>> decode(std::string_view text)
{
    return decodeRoutingRules(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

const RoutingRule sample{ *Uuid::parse("0f1e2d3c-4b5a-4978-8695-a4b3c2d1e0f9"), "example.com/Mail",
    *Uuid::parse("11111111-2222-4333-8444-555555555555") };

TEST(RoutingRuleTest, EncodesExactlyThreeMembersWithUpperCaseIds)
{
    EXPECT_EQ(encodeRoutingRules(std::vector{ sample }),
        R"([{"id":"0F1E2D3C-4B5A-4978-8695-A4B3C2D1E0F9","pattern":"example.com/Mail",)"
        R"("workspaceId":"11111111-2222-4333-8444-555555555555"}])");
}

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
