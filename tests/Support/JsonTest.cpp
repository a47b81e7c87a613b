#include "Support/Json.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

using namespace std::literals;

template <typename T>
bool accepts(const Json& object)
{
    return json::required<T>(object, "value").has_value();
}

TEST(JsonTest, TypeRulesDecideWhatAMemberMayHold)
{
    struct Case {
        bool (*accepts)(const Json&);
        const char* value;
        bool isAccepted;
    };
    // clang-format off
    for (auto [accepts, value, isAccepted] : {
             Case{ accepts<std::string>, "1", false }, Case{ accepts<bool>, "\"true\"", false },
             Case{ accepts<std::int64_t>, "1.5", false }, Case{ accepts<std::int64_t>, "\"15\"", false },
             Case{ accepts<std::int64_t>, "9223372036854775808", false }, Case{ accepts<double>, "3", true },
             Case{ accepts<Date>, "\"2024-01-01\"", false }, Case{ accepts<Uuid>, "\"{6ba7b810-9dad-11d1-80b4-00c04fd430c8}\"", false },
             Case{ accepts<Url>, "\"a/b\"", true }, Case{ accepts<Url>, "\"https://a b\"", false } }) {
        // clang-format on
        auto object = json::parse("{\"value\": "s + value + "}");
        ASSERT_TRUE(object) << object.error().message;
        EXPECT_EQ(accepts(*object), isAccepted) << value;
    }
}

// Missing and null are absent for optional members; a wrong type is an error that names the key, never
// the value, which may be a secret.
TEST(JsonTest, OptionalTellsMissingFromWrongAndErrorsNameTheKeyButNeverTheValue)
{
    auto object = *json::parse(R"({"present": "x", "empty": null, "token": "hunter2-secret"})");
    EXPECT_EQ(json::optional<std::string>(object, "present").value_or("error"), "x");
    EXPECT_EQ(json::optional<std::string>(object, "absent").value_or("error"), std::nullopt);
    EXPECT_EQ(json::optional<std::string>(object, "empty").value_or("error"), std::nullopt);
    EXPECT_FALSE(json::required<std::string>(object, "empty"));
    auto wrong = json::optional<Uuid>(object, "token");
    ASSERT_FALSE(wrong);
    EXPECT_NE(wrong.error().message.find("\"token\""), std::string::npos);
    EXPECT_EQ(wrong.error().message.find("hunter2"), std::string::npos) << wrong.error().message;
    auto invalid = json::parse(R"({"password": "hunter2-secret" oops})");
    ASSERT_FALSE(invalid);
    EXPECT_EQ(invalid.error().message.find("hunter2"), std::string::npos) << invalid.error().message;
}

// Saving a record again must drop a member that has become absent, not keep the stale value.
TEST(JsonTest, PutOptionalRemovesAMemberThatBecameAbsent)
{
    auto stored = *json::parse(R"({"first": 1, "gone": "old", "last": 2})");
    json::putOptional(stored, "gone", std::optional<std::string>());
    json::putOptional(stored, "never", std::optional<Uuid>());
    EXPECT_EQ(json::dump(stored), R"({"first":1,"last":2})");
}

TEST(JsonTest, ParseRejectsInvalidDocumentsWithoutThrowing)
{
    for (std::string_view text : { ""sv, "{"sv, "{\"a\":}"sv, "[1,]"sv, "1e400"sv, "NaN"sv, "{'a':1}"sv,
             "\"\xC3\x28\""sv, "[1] [2]"sv, "\"a\0b\""sv })
        EXPECT_FALSE(json::parse(text)) << text;
    // A page title with broken bytes is saved with a replacement character instead of throwing.
    EXPECT_EQ(json::dump(Json("a\xFF"s)), "\"a\xEF\xBF\xBD\"");
}

TEST(JsonTest, HostileNestingIsRefusedBeforeItCanOverflowTheStack)
{
    std::string deepest(100000, '[');
    EXPECT_FALSE(json::parse(deepest + std::string(100000, ']')));
    EXPECT_FALSE(json::parse(deepest));
    EXPECT_FALSE(json::parse(std::string(100000, '{')));
    auto nested = [](std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); };
    auto deepestAllowed = json::parse(nested(json::maximumDepth));
    ASSERT_TRUE(deepestAllowed);
    EXPECT_EQ(json::dump(*deepestAllowed), nested(json::maximumDepth));
    EXPECT_FALSE(json::parse(nested(json::maximumDepth + 1)));
    // Brackets inside strings and siblings do not count as nesting.
    std::string brackets(2000, '[');
    EXPECT_TRUE(json::parse("{\"a\": \"" + brackets + "\"}"));
    EXPECT_TRUE(json::parse("[\"\\\"" + brackets + "\", \"\\\\\"]"));
    std::string siblings = "[";
    for (int index = 0; index < 1000; ++index)
        siblings += (index ? ",[]" : "[]");
    EXPECT_TRUE(json::parse(siblings + "]"));
}

} // namespace
} // namespace cohortex
