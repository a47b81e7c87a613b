#pragma once

#include <compare>

namespace cohortex {

// A point in time as seconds since 2001-01-01 00:00:00 UTC, the form every stored record uses.
class Date {
public:
    constexpr Date() = default;
    constexpr explicit Date(double secondsSinceReferenceDate)
        : m_seconds(secondsSinceReferenceDate)
    {
    }

    // Seconds between the Unix epoch and the reference date.
    static constexpr double unixEpochOffset = 978307200.0;

    static Date now();
    static constexpr Date fromUnixTime(double seconds) { return Date(seconds - unixEpochOffset); }

    constexpr double secondsSinceReferenceDate() const { return m_seconds; }
    constexpr double unixTime() const { return m_seconds + unixEpochOffset; }
    constexpr double secondsSince(Date other) const { return m_seconds - other.m_seconds; }
    constexpr Date adding(double seconds) const { return Date(m_seconds + seconds); }

    constexpr auto operator<=>(const Date&) const = default;

private:
    double m_seconds{ 0 };
};

} // namespace cohortex
