#include "Support/Calendar.h"

#include <chrono>
#include <gtest/gtest.h>

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

TEST(CalendarTest, NamesTheLocalDay)
{
    struct Case {
        const char* zoneId;
        Date instant;
        CalendarDay expected;
    };
    // clang-format off
    for (const auto& [zoneId, instant, expected] : {
             Case{ "Europe/Berlin", utc(2023, 12, 31, 23, 30), { 2024, 1, 1 } },
             Case{ "America/Sao_Paulo", utc(2024, 1, 1, 2, 0), { 2023, 12, 31 } },
             Case{ "Europe/Berlin", utc(2024, 2, 29, 22, 59), { 2024, 2, 29 } },
             Case{ "UTC", utc(1950, 6, 15, 12, 0), { 1950, 6, 15 } }, Case{ "UTC", Date(), { 2001, 1, 1 } } })
        // clang-format on
        EXPECT_EQ(zone(zoneId).day(instant), expected) << zoneId << " " << instant.unixTime();
}

// Berlin is UTC+1 in winter and UTC+2 in summer; Sao Paulo last moved its clocks in 2018/2019.
TEST(CalendarTest, AddingDaysKeepsTheWallClockTime)
{
    struct Case {
        const char* name;
        const char* zoneId;
        Date start;
        int days;
        Date expected;
    };
    // clang-format off
    for (const auto& c : {
             Case{ "over spring forward is 23 hours", "Europe/Berlin", utc(2024, 3, 30, 11), 1, utc(2024, 3, 31, 10) },
             Case{ "back over the year end", "Europe/Berlin", utc(2024, 1, 1, 12), -366, utc(2022, 12, 31, 12) },
             Case{ "Sao Paulo spring forward", "America/Sao_Paulo", utc(2018, 11, 3, 15), 1, utc(2018, 11, 4, 14) } })
        // clang-format on
        EXPECT_EQ(zone(c.zoneId).addingDays(c.start, c.days), c.expected) << c.name;
}

} // namespace
} // namespace cohortex
