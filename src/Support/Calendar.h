#pragma once

#include "Support/Date.h"

#include <compare>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unicode/uversion.h>

// ICU's namespace carries its version, so the forward declaration goes through its own macros.
U_NAMESPACE_BEGIN
class Calendar;
U_NAMESPACE_END

namespace cohortex {

// A day as people in one time zone name it; month and day count from 1.
struct CalendarDay {
    int year = 0;
    int month = 0;
    int day = 0;

    friend auto operator<=>(const CalendarDay&, const CalendarDay&) = default;
};

// Gregorian calendar arithmetic in one time zone, for everything that counts days (the time ledger
// rolls over at local midnight, not every 86400 seconds).
//
// Copies share one immutable ICU calendar and every call works on its own clone of it, so a Calendar
// is cheap to copy, never changes under a caller, and may be used from any thread.
class Calendar {
public:
    // The user's zone: ICU's default, which follows TZ and the system setting.
    static Calendar current();
    // An IANA zone such as "Europe/Berlin"; nothing for an id ICU does not know.
    static std::optional<Calendar> inTimeZone(std::string_view ianaId);

    // Nothing when ICU fails, or for a date that is not finite or lies beyond ±275,000 years.
    std::optional<CalendarDay> day(Date) const;
    // The same local wall-clock time `days` calendar days later (or earlier when negative). When that
    // time does not exist because the clocks jump forward, the result lies the length of the jump later.
    std::optional<Date> addingDays(Date, int days) const;
    // Local midnight of the date's day, or the first instant of that day that exists when the clocks
    // jump over midnight.
    std::optional<Date> startOfDay(Date) const;

    std::string timeZoneId() const;

private:
    explicit Calendar(std::shared_ptr<const icu::Calendar>);

    std::shared_ptr<const icu::Calendar> m_prototype;
};

} // namespace cohortex
