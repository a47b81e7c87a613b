#include "Support/InternetDate.h"

#include <cmath>
#include <gtest/gtest.h>

namespace cohortex {
namespace {

constexpr double unixNoonFirstOfMay2024 = 1714564800;

TEST(InternetDateTest, ReadsTheInstantInUTCAndRefusesEveryOtherForm)
{
    for (auto [text, unixTime] : std::initializer_list<std::pair<const char*, double>>{
             { "2024-05-01T14:00:00+02:00", unixNoonFirstOfMay2024 },
             { "2024-05-01T06:30:00-05:30", unixNoonFirstOfMay2024 }, { "1969-12-31T23:59:59Z", -1 },
             { "0000-01-01T00:00:00Z", -62167219200 }, { "9999-12-31T23:59:59Z", 253402300799 } }) {
        auto date = parseInternetDate(text);
        ASSERT_TRUE(date) << text;
        EXPECT_EQ(date->unixTime(), unixTime) << text;
    }
    for (const char* text :
        { "2024-05-01T12:00:00.5Z", "2024-05-01T12:00:00", "2024-05-01T12:00:00+0200", "2024-05-01 12:00:00Z",
            "", "2023-02-29T12:00:00Z", "1900-02-29T12:00:00Z", "2024-04-31T12:00:00Z",
            "2024-12-31T23:59:60Z", "2024-05-01T12:00:00+24:00", "0000-01-01T00:30:00+01:00" })
        EXPECT_FALSE(parseInternetDate(text)) << text;
}

TEST(InternetDateTest, WritesWholeSecondsInUTCDroppingFractionsTowardThePastAndClampsTheRest)
{
    EXPECT_EQ(formatInternetDate(Date::fromUnixTime(unixNoonFirstOfMay2024 + 0.999)), "2024-05-01T12:00:00Z");
    EXPECT_EQ(formatInternetDate(Date::fromUnixTime(-0.5)), "1969-12-31T23:59:59Z");
    EXPECT_EQ(formatInternetDate(Date(1e300)), "9999-12-31T23:59:59Z");
    EXPECT_EQ(formatInternetDate(Date(NAN)), "2001-01-01T00:00:00Z");
    // One Gregorian cycle covers every leap-year rule once; one date per day around midday keeps it fast.
    for (double day = -73048; day < 73048; ++day) {
        auto date = Date::fromUnixTime(day * 86400 + 45296);
        auto text = formatInternetDate(date);
        ASSERT_EQ(parseInternetDate(text), date) << text;
    }
}

} // namespace
} // namespace cohortex
