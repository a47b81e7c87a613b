#include "Support/InternetDate.h"

#include <cmath>
#include <gtest/gtest.h>

namespace cohortex {
namespace {

constexpr double unixNoonFirstOfMay2024 = 1714564800;

TEST(InternetDateTest, ReadsTheInstantInUTC)
{
    // clang-format off
    for (auto [text, unixTime] : std::initializer_list<std::pair<const char*, double>>{
             { "2024-05-01T12:00:00Z", unixNoonFirstOfMay2024 }, { "2024-05-01T14:00:00+02:00", unixNoonFirstOfMay2024 },
             { "2024-05-01T06:30:00-05:30", unixNoonFirstOfMay2024 }, { "2024-05-01T12:00:00-00:00", unixNoonFirstOfMay2024 },
             { "1970-01-01T00:00:00Z", 0 }, { "1969-12-31T23:59:59Z", -1 }, { "2024-02-29T00:00:00Z", 1709164800 },
             { "2000-02-29T00:00:00Z", 951782400 }, { "0000-01-01T00:00:00Z", -62167219200 },
             { "9999-12-31T23:59:59Z", 253402300799 } }) {
        // clang-format on
        auto date = parseInternetDate(text);
        ASSERT_TRUE(date) << text;
        EXPECT_EQ(date->unixTime(), unixTime) << text;
    }
}

TEST(InternetDateTest, RefusesEveryOtherForm)
{
    for (const char* text : { "2024-05-01T12:00:00.5Z", "2024-05-01T12:00:00.000Z", "2024-05-01T12:00:00",
             "2024-05-01T12:00:00+0200", "2024-05-01T12:00:00+02", "2024-05-01T12:00:00 Z",
             "2024-05-01 12:00:00Z", "2024-05-01t12:00:00Z", "2024-05-01T12:00:00z", "2024-05-01", "",
             "2024-5-01T12:00:00Z", "+2024-05-01T12:00:00Z", "2024-13-01T12:00:00Z", "2024-00-01T12:00:00Z",
             "2023-02-29T12:00:00Z", "1900-02-29T12:00:00Z", "2024-04-31T12:00:00Z", "2024-05-01T24:00:00Z",
             "2024-05-01T12:60:00Z", "2024-12-31T23:59:60Z", "2024-05-01T12:00:00+24:00",
             "2024-05-01T12:00:00+02:60", "2024-05-01T12:00:00ZZ", "0000-01-01T00:30:00+01:00",
             "9999-12-31T23:30:00-01:00", "2024-05-01T12:00:00\xef\xbc\xba" })
        EXPECT_FALSE(parseInternetDate(text)) << text;
}

TEST(InternetDateTest, WritesWholeSecondsInUTCDroppingFractionsTowardThePast)
{
    EXPECT_EQ(formatInternetDate(Date::fromUnixTime(unixNoonFirstOfMay2024 + 0.999)), "2024-05-01T12:00:00Z");
    EXPECT_EQ(formatInternetDate(Date::fromUnixTime(-0.5)), "1969-12-31T23:59:59Z");
    EXPECT_EQ(formatInternetDate(Date(0)), "2001-01-01T00:00:00Z");
    EXPECT_EQ(formatInternetDate(Date::fromUnixTime(951782400)), "2000-02-29T00:00:00Z");
    EXPECT_EQ(formatInternetDate(Date(1e300)), "9999-12-31T23:59:59Z")
        << "beyond what can be written: clamped";
    EXPECT_EQ(formatInternetDate(Date(-INFINITY)), "0000-01-01T00:00:00Z");
    EXPECT_EQ(formatInternetDate(Date(NAN)), "2001-01-01T00:00:00Z");
}

TEST(InternetDateTest, EveryDayOfFourHundredYearsRoundTrips)
{
    // One Gregorian cycle covers every leap-year rule once; one date per day around midday keeps it fast.
    for (double day = -73048; day < 73048; ++day) {
        auto date = Date::fromUnixTime(day * 86400 + 45296);
        auto text = formatInternetDate(date);
        ASSERT_EQ(parseInternetDate(text), date) << text;
    }
}

} // namespace
} // namespace cohortex
