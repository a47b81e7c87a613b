#include "Support/Json.h"

#include <gtest/gtest.h>
#include <limits>

namespace cohortex {
namespace {

using namespace std::literals;

// Whether `required` accepts the member "value" of the given document as a T.
template <typename T>
bool accepts(const Json& object)
{
    return json::required<T>(object, "value").has_value();
}

struct TypeCase {
    const char* name;
    bool (*accepts)(const Json&);
    const char* value;
    bool isAccepted;
};

class JsonTypeRules : public testing::TestWithParam<TypeCase> { };

TEST_P(JsonTypeRules, DecideWhatAMemberMayHold)
{
    auto object = json::parse("{\"value\": "s + GetParam().value + "}");
    ASSERT_TRUE(object) << object.error().message;
    EXPECT_EQ(GetParam().accepts(*object), GetParam().isAccepted);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rules, JsonTypeRules, testing::Values(
    TypeCase { "StringFromString", accepts<std::string>, "\"x\"", true },
    TypeCase { "StringNotFromNumber", accepts<std::string>, "1", false },
    TypeCase { "BooleanFromTrue", accepts<bool>, "true", true },
    TypeCase { "BooleanNotFromOne", accepts<bool>, "1", false },
    TypeCase { "BooleanNotFromString", accepts<bool>, "\"true\"", false },
    TypeCase { "IntegerNotFromFraction", accepts<std::int64_t>, "1.5", false },
    TypeCase { "IntegerNotFromString", accepts<std::int64_t>, "\"15\"", false },
    TypeCase { "IntegerNotFromBoolean", accepts<std::int64_t>, "true", false },
    TypeCase { "IntegerNotAboveRange", accepts<std::int64_t>, "9223372036854775808", false },
    TypeCase { "IntegerNotFromLargeFloat", accepts<std::int64_t>, "9.3e18", false },
    TypeCase { "NumberFromInteger", accepts<double>, "3", true },
    TypeCase { "NumberFromHugeUnsigned", accepts<double>, "18446744073709551615", true },
    TypeCase { "NumberNotFromString", accepts<double>, "\"3\"", false },
    TypeCase { "DateFromFraction", accepts<Date>, "-1.25", true },
    TypeCase { "DateNotFromString", accepts<Date>, "\"2024-01-01\"", false },
    TypeCase { "UuidLowerCase", accepts<Uuid>, "\"6ba7b810-9dad-11d1-80b4-00c04fd430c8\"", true },
    TypeCase { "UuidNotBraced", accepts<Uuid>, "\"{6ba7b810-9dad-11d1-80b4-00c04fd430c8}\"", false },
    TypeCase { "UrlRelative", accepts<Url>, "\"a/b\"", true },
    TypeCase { "UrlNotEmpty", accepts<Url>, "\"\"", false },
    TypeCase { "UrlNotWithSpace", accepts<Url>, "\"https://a b\"", false },
    TypeCase { "UrlNotFromObject", accepts<Url>, "{}", false }
), [](const auto& info) { return info.param.name; });
// clang-format on

struct IntegerCase {
    const char* name;
    const char* value;
    std::int64_t expected;
};

class JsonIntegers : public testing::TestWithParam<IntegerCase> { };

TEST_P(JsonIntegers, ReadExactly)
{
    auto object = json::parse("{\"value\": "s + GetParam().value + "}");
    ASSERT_TRUE(object);
    EXPECT_EQ(json::required<std::int64_t>(*object, "value"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, JsonIntegers,
    testing::Values(IntegerCase{ "Plain", "42", 42 }, IntegerCase{ "Negative", "-7", -7 },
        IntegerCase{ "IntegralFloat", "15.0", 15 }, IntegerCase{ "Exponent", "1e3", 1000 },
        IntegerCase{ "NegativeZero", "-0.0", 0 },
        IntegerCase{ "Largest", "9223372036854775807", std::numeric_limits<std::int64_t>::max() },
        IntegerCase{ "Smallest", "-9223372036854775808", std::numeric_limits<std::int64_t>::min() },
        IntegerCase{
            "SmallestAsFloat", "-9.223372036854775808e18", std::numeric_limits<std::int64_t>::min() }),
    [](const auto& info) { return info.param.name; });

TEST(JsonTest, RequiredAndOptionalTellMissingFromWrong)
{
    auto object = *json::parse(R"({"present": "x", "empty": null, "wrong": 5})");
    EXPECT_EQ(json::optional<std::string>(object, "present").value_or("error"), "x");
    EXPECT_EQ(json::optional<std::string>(object, "absent").value_or("error"), std::nullopt);
    EXPECT_EQ(json::optional<std::string>(object, "empty").value_or("error"), std::nullopt);
    EXPECT_FALSE(json::optional<std::string>(object, "wrong"));
    EXPECT_FALSE(json::required<std::string>(object, "absent"));
    EXPECT_FALSE(json::required<std::string>(object, "empty"));
    for (const char* notAnObject : { "[]", "null", "\"text\"", "3" }) {
        EXPECT_FALSE(json::required<std::string>(*json::parse(notAnObject), "present")) << notAnObject;
        EXPECT_FALSE(json::optional<std::string>(*json::parse(notAnObject), "present")) << notAnObject;
    }
}

TEST(JsonTest, ErrorsNameTheKeyButNeverTheValue)
{
    auto object = *json::parse(R"({"token": "hunter2-secret", "count": "hunter2-secret"})");
    auto wrong = json::required<Uuid>(object, "token");
    auto mistyped = json::optional<std::int64_t>(object, "count");
    auto missing = json::required<bool>(object, "isEnabled");
    ASSERT_FALSE(wrong || mistyped || missing);
    EXPECT_NE(wrong.error().message.find("\"token\""), std::string::npos);
    EXPECT_NE(mistyped.error().message.find("\"count\""), std::string::npos);
    EXPECT_NE(missing.error().message.find("\"isEnabled\""), std::string::npos);
    for (const auto& message : { wrong.error().message, mistyped.error().message })
        EXPECT_EQ(message.find("hunter2"), std::string::npos) << message;
    auto invalid = json::parse(R"({"password": "hunter2-secret" oops})");
    ASSERT_FALSE(invalid);
    EXPECT_EQ(invalid.error().message.find("hunter2"), std::string::npos) << invalid.error().message;
}

TEST(JsonTest, PutOptionalRoundTripsEveryValueType)
{
    auto uuid = Uuid::random();
    auto url = *Url::parse("HTTPS://Example.com/a%20b?q#f");
    constexpr auto largest = std::numeric_limits<std::int64_t>::max();
    Json object;
    json::putOptional(object, "uuid", std::optional(uuid));
    json::putOptional(object, "url", std::optional(url));
    json::putOptional(object, "date", std::optional(Date(-12.5)));
    json::putOptional(object, "largest", std::optional(largest));
    json::putOptional(object, "ratio", std::optional(0.1));
    json::putOptional(object, "name", std::optional("Zürich \"quoted\""s));
    auto read = json::parse(json::dump(object));
    ASSERT_TRUE(read);
    EXPECT_EQ((*read)["uuid"], uuid.string());
    EXPECT_EQ(json::required<Uuid>(*read, "uuid"), uuid);
    EXPECT_EQ(json::required<Url>(*read, "url"), url);
    EXPECT_EQ(json::required<Date>(*read, "date"), Date(-12.5));
    EXPECT_EQ(json::required<std::int64_t>(*read, "largest"), largest);
    EXPECT_EQ(json::required<double>(*read, "ratio"), 0.1);
    EXPECT_EQ(json::required<std::string>(*read, "name"), "Zürich \"quoted\"");
}

TEST(JsonTest, PutOptionalLeavesAbsentValuesOut)
{
    auto object = *json::parse(R"({"first": 1, "gone": "old", "last": 2})");
    json::putOptional(object, "gone", std::optional<std::string>());
    json::putOptional(object, "never", std::optional<Uuid>());
    EXPECT_EQ(json::dump(object), R"({"first":1,"last":2})");
    Json fresh;
    json::putOptional(fresh, "never", std::optional<bool>());
    EXPECT_EQ(json::dump(fresh), "null");
}

TEST(JsonTest, ParseRejectsInvalidDocumentsWithoutThrowing)
{
    for (std::string_view text : { ""sv, "{"sv, "{\"a\":}"sv, "[1,]"sv, "1e400"sv, "NaN"sv, "{'a':1}"sv,
             "\"\xC3\x28\""sv, "[1] [2]"sv, "\"a\0b\""sv })
        EXPECT_FALSE(json::parse(text)) << text;
    std::vector<std::uint8_t> bytes{ '[', '1', ',', '2', ']' };
    EXPECT_EQ(json::parse(bytes), Json::array({ 1, 2 }));
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

TEST(JsonTest, DumpIsCompactKeepsOrderAndNeverThrows)
{
    Json object;
    object["zeta"] = 1;
    object["alpha"] = Json::array({ true, nullptr });
    object["bad"] = "a\xFF"s;
    EXPECT_EQ(json::dump(object), "{\"zeta\":1,\"alpha\":[true,null],\"bad\":\"a\xEF\xBF\xBD\"}");
}

} // namespace
} // namespace cohortex
