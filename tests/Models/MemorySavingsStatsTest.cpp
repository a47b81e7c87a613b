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

struct FormatCase {
    double mb;
    const char* expected;
};

class MemoryFormatTest : public ::testing::TestWithParam<FormatCase> { };

TEST_P(MemoryFormatTest, RoundsMegabytesAndSwitchesToGigabytesAt1024)
{
    EXPECT_EQ(MemorySavingsStats::format(GetParam().mb), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, MemoryFormatTest,
    ::testing::Values(FormatCase{ 0.4, "0 MB" }, FormatCase{ 612.4, "612 MB" },
        FormatCase{ 1023.7, "1024 MB" }, FormatCase{ 1024, "1.0 GB" }, FormatCase{ 1536, "1.5 GB" }));

TEST(MemorySavingsStatsTest, SummaryHasNoSingularAndMentionsHibernationFromOneMegabyte)
{
    MemorySavingsStats stats{ 1, 2, 0.9, Date() };
    EXPECT_EQ(stats.summaryMessage(),
        "You've switched workspaces 1 times, saving about 2 context-switching clicks.");
    stats.hibernationFreedMB = 1.0;
    EXPECT_EQ(stats.summaryMessage(),
        "You've switched workspaces 1 times, saving about 2 context-switching clicks. Hibernating idle "
        "workspaces "
        "has freed 1 MB.");
}

TEST(MemorySavingsStatsTest, WritesAllFourKeysAndReadsBackEveryValueExactly)
{
    EXPECT_EQ(encodeStats(MemorySavingsStats{ 0, 0, 0, Date(7.25) }),
        R"({"totalSwitches":0,"clicksSaved":0,"hibernationFreedMB":0.0,"lastUpdated":7.25})");
    // 2^53 + 1 would not survive a trip through a double.
    MemorySavingsStats stats{ 9007199254740993, 42, 1234.5678901234567, Date(-12345.678901234567) };
    EXPECT_EQ(decode(encodeStats(stats)), stats);
}

struct LenientCase {
    const char* text;
    MemorySavingsStats expected;
};

class LenientDecodingTest : public ::testing::TestWithParam<LenientCase> { };

TEST_P(LenientDecodingTest, FillsMissingAndNullMembers)
{
    EXPECT_EQ(decode(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Members, LenientDecodingTest,
    ::testing::Values(LenientCase{ "{}", { 0, 0, 0, readingTime } },
        LenientCase{ R"({"totalSwitches":5,"clicksSaved":10,"lastUpdated":3.5})", { 5, 10, 0, Date(3.5) } },
        LenientCase{ R"({"totalSwitches":4.0,"clicksSaved":null,"hibernationFreedMB":12,"lastUpdated":null})",
            { 4, 0, 12, readingTime } }));

class StrictDecodingTest : public ::testing::TestWithParam<const char*> { };

TEST_P(StrictDecodingTest, FailsTheWholeRecordOnAWrongType)
{
    EXPECT_FALSE(decode(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Members, StrictDecodingTest,
    ::testing::Values(R"({"totalSwitches":"3"})", R"({"clicksSaved":true})", R"({"totalSwitches":1.5})",
        R"({"totalSwitches":9223372036854775808})", R"({"hibernationFreedMB":"12"})",
        R"({"lastUpdated":"2024-01-01T00:00:00Z"})", "[]", "null", "", R"({"totalSwitches":1)"));

} // namespace
} // namespace cohortex
