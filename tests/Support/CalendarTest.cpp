#include "Support/Calendar.h"

#include <chrono>
#include <climits>
#include <gtest/gtest.h>
#include <limits>

namespace cohortex {
namespace {

// An instant given by its UTC fields, so the expectations below read like a time zone table.
Date utc(int year, unsigned month, unsigned day, int hour = 0, int minute = 0)
{
    using namespace std::chrono;
    auto days = sys_days(std::chrono::year(year) / std::chrono::month(month) / std::chrono::day(day));
    auto instant = days + hours(hour) + minutes(minute);
    return Date::fromUnixTime(
        static_cast<double>(duration_cast<seconds>(instant.time_since_epoch()).count()));
}

Calendar zone(const char* id)
{
    auto calendar = Calendar::inTimeZone(id);
    EXPECT_TRUE(calendar) << id;
    return calendar.value_or(Calendar::current());
}

struct DayCase {
    const char* name;
    const char* zoneId;
    Date instant;
    CalendarDay expected;
};

class CalendarDayOf : public testing::TestWithParam<DayCase> { };

TEST_P(CalendarDayOf, NamesTheLocalDay)
{
    EXPECT_EQ(zone(GetParam().zoneId).day(GetParam().instant), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Zones, CalendarDayOf,
    testing::Values(
        DayCase{ "BerlinNewYearBeforeUtc", "Europe/Berlin", utc(2023, 12, 31, 23, 30), { 2024, 1, 1 } },
        DayCase{ "SaoPauloStillOldYear", "America/Sao_Paulo", utc(2024, 1, 1, 2, 0), { 2023, 12, 31 } },
        DayCase{ "KiritimatiADayAhead", "Pacific/Kiritimati", utc(2023, 12, 31, 10, 0), { 2024, 1, 1 } },
        DayCase{ "LeapDay", "Europe/Berlin", utc(2024, 2, 29, 22, 59), { 2024, 2, 29 } },
        DayCase{ "LeapDayEndsAtLocalMidnight", "Europe/Berlin", utc(2024, 2, 29, 23, 0), { 2024, 3, 1 } },
        DayCase{ "BeforeSpringForward", "Europe/Berlin", utc(2024, 3, 31, 0, 59), { 2024, 3, 31 } },
        DayCase{ "AfterFallBackInCet", "Europe/Berlin", utc(2024, 10, 27, 22, 59), { 2024, 10, 27 } },
        DayCase{ "BeforeUnixEpoch", "UTC", utc(1950, 6, 15, 12, 0), { 1950, 6, 15 } },
        DayCase{ "ReferenceDate", "UTC", Date(), { 2001, 1, 1 } }),
    [](const auto& info) { return info.param.name; });

struct AddCase {
    const char* name;
    const char* zoneId;
    Date start;
    int days;
    Date expected;
};

class CalendarAddingDays : public testing::TestWithParam<AddCase> { };

TEST_P(CalendarAddingDays, KeepsTheWallClockTime)
{
    const auto& param = GetParam();
    EXPECT_EQ(zone(param.zoneId).addingDays(param.start, param.days), param.expected);
}

// Berlin is UTC+1 in winter and UTC+2 in summer; Sao Paulo last moved its clocks in 2018/2019.
INSTANTIATE_TEST_SUITE_P(Zones, CalendarAddingDays,
    testing::Values(AddCase{ "OverSpringForwardIs23Hours", "Europe/Berlin", utc(2024, 3, 30, 11), 1,
                        utc(2024, 3, 31, 10) },
        AddCase{ "OverFallBackIs25Hours", "Europe/Berlin", utc(2024, 10, 26, 10), 1, utc(2024, 10, 27, 11) },
        AddCase{ "BackOverSpringForward", "Europe/Berlin", utc(2024, 3, 31, 10), -1, utc(2024, 3, 30, 11) },
        AddCase{
            "SkippedTimeMovesLater", "Europe/Berlin", utc(2024, 3, 30, 1, 30), 1, utc(2024, 3, 31, 1, 30) },
        AddCase{ "RepeatedTimeTakesTheFirst", "Europe/Berlin", utc(2024, 10, 26, 0, 30), 1,
            utc(2024, 10, 27, 0, 30) },
        AddCase{ "IntoLeapDay", "UTC", utc(2024, 2, 28, 10), 1, utc(2024, 2, 29, 10) },
        AddCase{ "NoLeapDay", "UTC", utc(2023, 2, 28, 10), 1, utc(2023, 3, 1, 10) },
        AddCase{ "BackOverYearEnd", "Europe/Berlin", utc(2024, 1, 1, 12), -366, utc(2022, 12, 31, 12) },
        AddCase{
            "SaoPauloSpringForward", "America/Sao_Paulo", utc(2018, 11, 3, 15), 1, utc(2018, 11, 4, 14) },
        AddCase{ "SaoPauloFallBack", "America/Sao_Paulo", utc(2019, 2, 16, 14), 1, utc(2019, 2, 17, 15) },
        AddCase{ "Zero", "Europe/Berlin", utc(2024, 10, 27, 0, 30), 0, utc(2024, 10, 27, 0, 30) }),
    [](const auto& info) { return info.param.name; });

struct StartCase {
    const char* name;
    const char* zoneId;
    Date instant;
    Date expected;
};

class CalendarStartOfDay : public testing::TestWithParam<StartCase> { };

TEST_P(CalendarStartOfDay, IsTheFirstInstantOfTheLocalDay)
{
    const auto& param = GetParam();
    auto calendar = zone(param.zoneId);
    auto start = calendar.startOfDay(param.instant);
    EXPECT_EQ(start, param.expected);
    ASSERT_TRUE(start);
    EXPECT_EQ(calendar.day(*start), calendar.day(param.instant));
    EXPECT_NE(calendar.day(start->adding(-0.001)), calendar.day(param.instant));
}

INSTANTIATE_TEST_SUITE_P(Zones, CalendarStartOfDay,
    testing::Values(StartCase{ "Winter", "Europe/Berlin", utc(2024, 1, 15, 18), utc(2024, 1, 14, 23) },
        StartCase{ "SpringForwardDay", "Europe/Berlin", utc(2024, 3, 31, 13), utc(2024, 3, 30, 23) },
        StartCase{ "FallBackDay", "Europe/Berlin", utc(2024, 10, 27, 13), utc(2024, 10, 26, 22) },
        StartCase{ "AtMidnightItself", "Europe/Berlin", utc(2024, 10, 26, 22), utc(2024, 10, 26, 22) },
        StartCase{ "MidnightSkipped", "America/Sao_Paulo", utc(2018, 11, 4, 15), utc(2018, 11, 4, 3) },
        StartCase{ "InTheRepeatedHour", "America/Sao_Paulo", utc(2019, 2, 17, 2, 30), utc(2019, 2, 16, 2) },
        StartCase{ "AfterTheRepeatedHour", "America/Sao_Paulo", utc(2019, 2, 17, 13), utc(2019, 2, 17, 3) }),
    [](const auto& info) { return info.param.name; });

TEST(CalendarTest, RejectsZonesIcuDoesNotKnow)
{
    for (const char* id : { "Mars/Olympus_Mons", "", "Etc/Unknown", "Europe/Berlin ", "Europe" })
        EXPECT_FALSE(Calendar::inTimeZone(id)) << '"' << id << '"';
}

TEST(CalendarTest, DatesIcuCannotRepresentGiveNothing)
{
    auto calendar = zone("Europe/Berlin");
    constexpr double infinity = std::numeric_limits<double>::infinity();
    for (double seconds : { infinity, -infinity, std::numeric_limits<double>::quiet_NaN(), 1e300 }) {
        EXPECT_FALSE(calendar.day(Date(seconds))) << seconds;
        EXPECT_FALSE(calendar.startOfDay(Date(seconds))) << seconds;
        EXPECT_FALSE(calendar.addingDays(Date(seconds), 1)) << seconds;
    }
    EXPECT_FALSE(calendar.addingDays(Date(), INT_MAX));
    EXPECT_FALSE(calendar.addingDays(Date(), INT_MIN));
}

TEST(CalendarTest, AddingDaysKeepsFractionsOfAMillisecond)
{
    auto start = utc(2024, 5, 1, 9).adding(0.1234567);
    auto later = zone("Europe/Berlin").addingDays(start, 2);
    ASSERT_TRUE(later);
    EXPECT_NEAR(later->secondsSince(start), 2 * 86400.0, 1e-6);
}

} // namespace
} // namespace cohortex
