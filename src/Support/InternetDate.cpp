#include "Support/InternetDate.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace cohortex {

namespace {

constexpr std::int64_t secondsPerDay = 86400;

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's days_from_civil), exact for
// every year we accept, without a time zone database or a locale.
constexpr std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day)
{
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

struct CivilDay {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

// The inverse of daysFromCivil.
constexpr CivilDay civilFromDays(std::int64_t days)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return { static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2), month, day };
}

constexpr std::int64_t earliestUnixSeconds = daysFromCivil(0, 1, 1) * secondsPerDay;
constexpr std::int64_t latestUnixSeconds = daysFromCivil(10000, 1, 1) * secondsPerDay - 1;

bool isLeapYear(std::int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned daysInMonth(std::int64_t year, unsigned month)
{
    static constexpr unsigned lengths[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

// The decimal number in text[offset, offset + length), or -1 unless every character is an ASCII digit.
int digits(std::string_view text, std::size_t offset, std::size_t length)
{
    int value = 0;
    for (char character : text.substr(offset, length)) {
        if (character < '0' || character > '9')
            return -1;
        value = value * 10 + (character - '0');
    }
    return value;
}

bool hasSeparators(std::string_view text)
{
    return text[4] == '-' && text[7] == '-' && text[10] == 'T' && text[13] == ':' && text[16] == ':';
}

// Seconds east of UTC for "Z" or "+HH:MM"/"-HH:MM"; nothing for anything else.
std::optional<int> zoneOffsetSeconds(std::string_view zone)
{
    if (zone == "Z")
        return 0;
    if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || zone[3] != ':')
        return std::nullopt;
    int hours = digits(zone, 1, 2);
    int minutes = digits(zone, 4, 2);
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59)
        return std::nullopt;
    int seconds = hours * 3600 + minutes * 60;
    return zone[0] == '-' ? -seconds : seconds;
}

} // namespace

std::string formatInternetDate(Date date)
{
    double unixTime = date.unixTime();
    if (std::isnan(unixTime))
        unixTime = Date().unixTime();
    auto clamped = std::clamp(std::floor(unixTime), static_cast<double>(earliestUnixSeconds),
        static_cast<double>(latestUnixSeconds));
    auto seconds = static_cast<std::int64_t>(clamped);
    // Floor division, so that instants before 1970 land on the right day.
    std::int64_t days = seconds / secondsPerDay - (seconds % secondsPerDay < 0);
    auto secondOfDay = static_cast<int>(seconds - days * secondsPerDay);
    auto day = civilFromDays(days);
    char text[64]; // Room for any int the format could print, which keeps the compiler's check quiet.
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(day.year), day.month,
        day.day, secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60);
    return text;
}

std::optional<Date> parseInternetDate(std::string_view text)
{
    constexpr std::size_t localLength = 19;
    if (text.size() < localLength + 1 || !hasSeparators(text))
        return std::nullopt;
    int year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
    int hour = digits(text, 11, 2), minute = digits(text, 14, 2), second = digits(text, 17, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1
        || static_cast<unsigned>(day) > daysInMonth(year, month))
        return std::nullopt;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    auto offset = zoneOffsetSeconds(text.substr(localLength));
    if (!offset)
        return std::nullopt;
    std::int64_t unixSeconds
        = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * secondsPerDay
        + hour * 3600 + minute * 60 + second - *offset;
    // An offset can push the instant out of the years that can be written back.
    if (unixSeconds < earliestUnixSeconds || unixSeconds > latestUnixSeconds)
        return std::nullopt;
    return Date::fromUnixTime(static_cast<double>(unixSeconds));
}

} // namespace cohortex
