#pragma once

#include "Support/Date.h"

#include <optional>
#include <string>
#include <string_view>

namespace cohortex {

// Dates in files that people hand to each other are written as internet date-time text (RFC 3339) in
// whole seconds, years 0000 to 9999, because other programs and people read them too.

// "2024-05-01T10:00:00Z": UTC, fractions of a second dropped toward the past. Dates outside the years
// 0000 to 9999 are clamped to the nearest one that can be written, and a date that is not a number is
// written as the reference date, so there is always text to write.
std::string formatInternetDate(Date);

// Accepts exactly "YYYY-MM-DDTHH:MM:SS" followed by "Z" or an offset "+HH:MM" / "-HH:MM". Fractional
// seconds, lower-case separators, a missing zone, impossible days (February 30) or times (24:00, leap
// seconds) and instants whose UTC year falls outside 0000 to 9999 are refused.
std::optional<Date> parseInternetDate(std::string_view);

} // namespace cohortex
