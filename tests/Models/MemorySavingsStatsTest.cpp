#include "Models/MemorySavingsStats.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

constexpr Date readingTime{ 812345678.5 };

Expected<MemorySavingsStats> decode(std::string_view text)
{
    return decodeStats(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), readingTime);
}

TEST(MemorySavingsStatsTest, ReadsBackEveryValueExactly)
{
    // 2^53 + 1 would not survive a trip through a double.
    MemorySavingsStats stats{ 9007199254740993, 42, 1234.5678901234567, Date(-12345.678901234567) };
    EXPECT_EQ(decode(encodeStats(stats)), stats);
}

TEST(MemorySavingsStatsTest, DecodingFillsMissingAndNullMembersButFailsOnAWrongType)
{
    // clang-format off
    for (auto [text, expected] : std::initializer_list<std::pair<const char*, MemorySavingsStats>>{
             { "{}", { 0, 0, 0, readingTime } },
             { R"({"totalSwitches":5,"clicksSaved":10,"lastUpdated":3.5})", { 5, 10, 0, Date(3.5) } },
             { R"({"totalSwitches":4.0,"clicksSaved":null,"hibernationFreedMB":12,"lastUpdated":null})", { 4, 0, 12, readingTime } } })
        // clang-format on
        EXPECT_EQ(decode(text), expected) << text;
    for (const char* text : { R"({"totalSwitches":"3"})", R"({"totalSwitches":1.5})",
             R"({"lastUpdated":"2024-01-01T00:00:00Z"})", "[]", R"({"totalSwitches":1)" })
        EXPECT_FALSE(decode(text)) << text;
}

} // namespace
} // namespace cohortex
