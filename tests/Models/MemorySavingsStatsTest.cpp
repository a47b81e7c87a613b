#include "Models/MemorySavingsStats.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>

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

TEST_P(MemoryFormatTest, SwitchesToGigabytesAt1024)
{
    EXPECT_EQ(MemorySavingsStats::format(GetParam().mb), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, MemoryFormatTest,
    ::testing::Values(FormatCase{ 0, "0 MB" }, FormatCase{ 0.4, "0 MB" }, FormatCase{ 0.6, "1 MB" },
        FormatCase{ 612.4, "612 MB" }, FormatCase{ 1023.7, "1024 MB" }, FormatCase{ 1023.999, "1024 MB" },
        FormatCase{ 1024, "1.0 GB" }, FormatCase{ 1536, "1.5 GB" }, FormatCase{ 2048, "2.0 GB" },
        FormatCase{ 1048576, "1024.0 GB" }));

TEST(MemoryFormatLocaleTest, KeepsThePointUnderACommaLocale)
{
    const char* previous = std::setlocale(LC_ALL, nullptr);
    std::string saved = previous ? previous : "C";
    bool found = false;
    for (const char* name : { "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8" })
        found = found || std::setlocale(LC_ALL, name);
    if (!found)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    auto text = MemorySavingsStats::format(1536);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(text, "1.5 GB");
}

struct SummaryCase {
    std::int64_t switches;
    double freedMB;
    const char* expected;
};

class SummaryMessageTest : public ::testing::TestWithParam<SummaryCase> { };

TEST_P(SummaryMessageTest, AddsTheHibernationSentenceFromOneMegabyte)
{
    MemorySavingsStats stats{ GetParam().switches, GetParam().switches * 2, GetParam().freedMB, Date() };
    EXPECT_EQ(stats.summaryMessage(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sentences, SummaryMessageTest,
    ::testing::Values(SummaryCase{ 12, 0,
                          "You've switched workspaces 12 times, saving about 24 context-switching clicks." },
        SummaryCase{ 1, 0, "You've switched workspaces 1 times, saving about 2 context-switching clicks." },
        SummaryCase{ 3, 0.9, "You've switched workspaces 3 times, saving about 6 context-switching clicks." },
        SummaryCase{ 3, 1.0,
            "You've switched workspaces 3 times, saving about 6 context-switching clicks. Hibernating idle "
            "workspaces has freed 1 MB." },
        SummaryCase{ 3, 2048,
            "You've switched workspaces 3 times, saving about 6 context-switching clicks. Hibernating idle "
            "workspaces has freed 2.0 GB." }));

TEST(MemorySavingsStatsTest, WritesAllFourKeysInOrderEvenWhenZero)
{
    MemorySavingsStats stats{ 0, 0, 0, Date(700000000.25) };
    auto encoded = encodeStats(stats);
    EXPECT_EQ(encoded,
        R"({"totalSwitches":0,"clicksSaved":0,"hibernationFreedMB":0.0,"lastUpdated":700000000.25})");
}

TEST(MemorySavingsStatsTest, RoundTripKeepsEveryValueExactly)
{
    MemorySavingsStats stats{ 9007199254740993, 42, 1234.5678901234567, Date(-12345.678901234567) };
    auto decoded = decode(encodeStats(stats));
    ASSERT_TRUE(decoded) << decoded.error().message;
    EXPECT_EQ(*decoded, stats);
}

struct LenientCase {
    const char* text;
    MemorySavingsStats expected;
};

class LenientDecodingTest : public ::testing::TestWithParam<LenientCase> { };

TEST_P(LenientDecodingTest, FillsWhatIsMissing)
{
    auto decoded = decode(GetParam().text);
    ASSERT_TRUE(decoded) << decoded.error().message;
    EXPECT_EQ(*decoded, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(MissingOrNull, LenientDecodingTest,
    ::testing::Values(LenientCase{ "{}", { 0, 0, 0, readingTime } },
        LenientCase{ R"({"totalSwitches":5,"clicksSaved":10,"lastUpdated":3.5})", { 5, 10, 0, Date(3.5) } },
        LenientCase{
            R"({"totalSwitches":null,"clicksSaved":null,"hibernationFreedMB":null,"lastUpdated":null})",
            { 0, 0, 0, readingTime } },
        LenientCase{ R"({"hibernationFreedMB":12,"extra":"ignored"})", { 0, 0, 12, readingTime } },
        // Integral numbers written as floating point still count.
        LenientCase{ R"({"totalSwitches":4.0,"clicksSaved":8e0})", { 4, 8, 0, readingTime } }));

class StrictDecodingTest : public ::testing::TestWithParam<const char*> { };

TEST_P(StrictDecodingTest, FailsTheWholeRecord)
{
    EXPECT_FALSE(decode(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(WrongTypeOrDocument, StrictDecodingTest,
    ::testing::Values(R"({"totalSwitches":"3"})", R"({"clicksSaved":true})", R"({"totalSwitches":1.5})",
        R"({"totalSwitches":9223372036854775808})", R"({"hibernationFreedMB":"12"})",
        R"({"hibernationFreedMB":[1]})", R"({"lastUpdated":"2024-01-01T00:00:00Z"})",
        R"({"totalSwitches":1,"lastUpdated":{}})", "[]", "null", "3", "", R"({"totalSwitches":1)"));

} // namespace
} // namespace cohortex
