#include "Support/Calendar.h"

#include <cmath>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>
#include <unicode/ucal.h>
#include <unicode/unistr.h>

namespace cohortex {

namespace {

using CalendarPointer = std::unique_ptr<icu::Calendar>;

// ICU clamps instants outside its own (wider) range without saying so; this bound keeps every answer
// honest and still covers any date a stored record can sensibly hold.
constexpr double largestMilliseconds = 8.64e15;

std::optional<UDate> icuTime(Date date)
{
    double milliseconds = date.unixTime() * 1000.0;
    if (!std::isfinite(milliseconds) || std::fabs(milliseconds) > largestMilliseconds)
        return std::nullopt;
    return milliseconds;
}

Date dateFromIcu(UDate milliseconds)
{
    return Date::fromUnixTime(milliseconds / 1000.0);
}

std::shared_ptr<const icu::Calendar> makePrototype(icu::TimeZone* adoptedZone)
{
    if (!adoptedZone)
        return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    auto calendar = std::make_shared<icu::GregorianCalendar>(adoptedZone, status);
    if (U_FAILURE(status))
        return nullptr;
    return calendar;
}

std::string utf8(const icu::UnicodeString& text)
{
    std::string result;
    text.toUTF8String(result);
    return result;
}

// A working copy set to the given instant, or null when ICU cannot represent it.
CalendarPointer calendarAt(const std::shared_ptr<const icu::Calendar>& prototype, Date date)
{
    auto milliseconds = icuTime(date);
    if (!prototype || !milliseconds)
        return nullptr;
    CalendarPointer calendar(prototype->clone());
    if (!calendar)
        return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(*milliseconds, status);
    return U_SUCCESS(status) ? std::move(calendar) : nullptr;
}

std::optional<Date> timeOf(const icu::Calendar& calendar)
{
    UErrorCode status = U_ZERO_ERROR;
    UDate milliseconds = calendar.getTime(status);
    if (U_FAILURE(status) || !std::isfinite(milliseconds))
        return std::nullopt;
    return dateFromIcu(milliseconds);
}

} // namespace

Calendar::Calendar(std::shared_ptr<const icu::Calendar> prototype)
    : m_prototype(std::move(prototype))
{
}

Calendar Calendar::current()
{
    return Calendar(makePrototype(icu::TimeZone::createDefault()));
}

std::optional<Calendar> Calendar::inTimeZone(std::string_view ianaId)
{
    auto id
        = icu::UnicodeString::fromUTF8(icu::StringPiece(ianaId.data(), static_cast<int32_t>(ianaId.size())));
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(id));
    // ICU answers an id it does not know with a copy of its unknown zone rather than an error.
    icu::UnicodeString zoneId;
    if (!zone || zone->getID(zoneId) == UCAL_UNKNOWN_ZONE_ID)
        return std::nullopt;
    auto prototype = makePrototype(zone.release());
    if (!prototype)
        return std::nullopt;
    return Calendar(std::move(prototype));
}

std::optional<CalendarDay> Calendar::day(Date date) const
{
    auto calendar = calendarAt(m_prototype, date);
    if (!calendar)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    CalendarDay result;
    result.year = calendar->get(UCAL_EXTENDED_YEAR, status);
    result.month = calendar->get(UCAL_MONTH, status) + 1;
    result.day = calendar->get(UCAL_DATE, status);
    if (U_FAILURE(status))
        return std::nullopt;
    return result;
}

std::optional<Date> Calendar::addingDays(Date date, int days) const
{
    auto calendar = calendarAt(m_prototype, date);
    if (!calendar)
        return std::nullopt;
    calendar->setSkippedWallTimeOption(UCAL_WALLTIME_LAST);
    calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
    UErrorCode status = U_ZERO_ERROR;
    calendar->add(UCAL_DATE, days, status);
    if (U_FAILURE(status))
        return std::nullopt;
    auto result = timeOf(*calendar);
    if (!result || !icuTime(*result))
        return std::nullopt;
    return result;
}

std::optional<Date> Calendar::startOfDay(Date date) const
{
    auto calendar = calendarAt(m_prototype, date);
    if (!calendar)
        return std::nullopt;
    calendar->setSkippedWallTimeOption(UCAL_WALLTIME_NEXT_VALID);
    calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
    for (auto field : { UCAL_HOUR_OF_DAY, UCAL_MINUTE, UCAL_SECOND, UCAL_MILLISECOND })
        calendar->set(field, 0);
    return timeOf(*calendar);
}

std::string Calendar::timeZoneId() const
{
    if (!m_prototype)
        return {};
    icu::UnicodeString id;
    return utf8(m_prototype->getTimeZone().getID(id));
}

} // namespace cohortex
