#include "Services/RoutingRules.h"

#include "Fakes/MemoryDefaults.h"
#include "Services/StoredKeys.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

std::span<const std::uint8_t> bytes(std::string_view text)
{
    return { reinterpret_cast<const std::uint8_t*>(text.data()), text.size() };
}

class RoutingRulesTest : public testing::Test {
protected:
    std::vector<RoutingRule> stored() const
    {
        auto data = defaults.data(keys::routingRules);
        if (!data)
            return {};
        return decodeRoutingRules(*data).value_or(std::vector<RoutingRule>{});
    }

    std::vector<std::string> patterns() const
    {
        std::vector<std::string> result;
        for (const auto& rule : *rules.rules())
            result.push_back(rule.pattern);
        return result;
    }

    std::optional<Uuid> route(std::string_view link) const { return rules.workspaceID(*Url::parse(link)); }

    MemoryDefaults defaults;
    RoutingRules rules{ defaults };
    Uuid work = Uuid::random();
    Uuid home = Uuid::random();
};

TEST_F(RoutingRulesTest, AddForAKnownSiteReplacesTheRuleAndMovesItToTheEnd)
{
    rules.addRule("example.com", work);
    rules.addRule("other.com", work);
    rules.addRule("https://www.EXAMPLE.com/", home);
    EXPECT_EQ(patterns(), (std::vector<std::string>{ "other.com", "example.com" }));
    EXPECT_EQ(rules.rules()->back().workspaceId, home);
}

TEST_F(RoutingRulesTest, RemovingAWorkspaceDropsOnlyItsRulesAndABlankPatternAddsNothing)
{
    rules.addRule("a.com", work);
    rules.addRule("b.com", home);
    rules.addRule("c.com", work);
    rules.removeRules(work);
    EXPECT_EQ(patterns(), std::vector<std::string>{ "b.com" });
    EXPECT_EQ(stored(), *rules.rules());

    int writes = defaults.writeCount();
    rules.addRule(" \t\n", home);
    rules.addRule("https://www.", home);
    EXPECT_EQ(patterns(), std::vector<std::string>{ "b.com" });
    EXPECT_EQ(defaults.writeCount(), writes);
}

TEST_F(RoutingRulesTest, RoutingFollowsEveryChangeOfTheList)
{
    EXPECT_EQ(route("https://mail.example.com/"), std::nullopt);
    rules.addRule("example.com", work);
    EXPECT_EQ(route("https://mail.example.com/"), work);
    rules.addRule("mail.example.com", home);
    EXPECT_EQ(route("https://mail.example.com/"), home);
    rules.removeRules(home);
    EXPECT_EQ(route("https://mail.example.com/"), work);
    rules.setRules({});
    EXPECT_EQ(route("https://mail.example.com/"), std::nullopt);
}

TEST_F(RoutingRulesTest, UnreadableStoredRulesAreIgnoredAndLeftInPlace)
{
    std::string_view damaged = R"([{"id":"x","pattern":"a.com"}])";
    defaults.setData(keys::routingRules, bytes(damaged));
    rules.loadRoutingRules();
    EXPECT_TRUE(rules.rules()->empty());
    EXPECT_EQ(defaults.data(keys::routingRules), Bytes(damaged.begin(), damaged.end()));
}

TEST_F(RoutingRulesTest, ReadableStoredRulesAreLoadedInOrder)
{
    std::vector<RoutingRule> list{ { Uuid::random(), "HTTPS://B.com", home },
        { Uuid::random(), "a.com", work } };
    defaults.setData(keys::routingRules, bytes(encodeRoutingRules(list)));
    rules.loadRoutingRules();
    EXPECT_EQ(*rules.rules(), list);
    EXPECT_EQ(route("https://b.com/x"), home);
}

} // namespace
} // namespace cohortex
