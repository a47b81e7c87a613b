#pragma once

#include "Support/Calendar.h"
#include "Support/Date.h"
#include "Support/Error.h"
#include "Support/Uuid.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>

namespace cohortex {

// Seconds spent in each workspace on each calendar day. A plain value: the time tracker owns the live
// copy and stores it; the settings read it and export it. Workspaces are known only by id.
class TimeLedger {
public:
    // Day key ("2025-03-05") → workspace key (upper-case UUID text) → seconds.
    using Days = std::map<std::string, std::map<std::string, double>>;

    TimeLedger() = default;
    explicit TimeLedger(Days days)
        : m_days(std::move(days))
    {
    }

    const Days& days() const { return m_days; }

    // Adds positive, finite seconds to the date's day in the calendar, and gives that day's key. Anything
    // else changes nothing (no empty day appears, and no infinity that JSON could not store) and gives
    // nothing.
    std::optional<std::string> add(double seconds, const Uuid& workspace, Date, const Calendar&);
    // 0 when the day or the workspace has no entry.
    double seconds(const Uuid& workspace, Date, const Calendar&) const;
    // The sum over the `lastDays` calendar days ending with the day of `now`; 0 when lastDays < 1.
    double seconds(const Uuid& workspace, int lastDays, Date now, const Calendar&) const;

    // "Date,Workspace,Hours" and one row per day and workspace, both in ascending key order, lines ended
    // by LF. Ids without a name are exported as "Removed workspace"; keys that are no UUID are skipped.
    std::string csv(const std::map<Uuid, std::string>& names) const;

    // "45m" below an hour, else "12h 5m", from the seconds rounded to the nearest whole second.
    static std::string formatted(double seconds);

    bool operator==(const TimeLedger&) const = default;

private:
    static std::string dayKey(Date, const Calendar&);

    Days m_days;
};

// {"days": {"2025-03-05": {"<workspace id>": 65.0}}}. Decoding needs "days" and the two levels of
// objects below it holding numbers; anything else fails the whole ledger.
std::string encodeLedger(const TimeLedger&);

// The same text for a ledger that changes a day at a time, without writing the whole history again:
// each day's part is kept once written, and only the days named as changed since the last call are
// written anew. Parts are kept joined by month, so that a save hands over a dozen texts for a year of
// history rather than one per day, and its cost on the caller's thread does not grow with the history.
class LedgerEncoding {
public:
    // The text encodeLedger writes, in two steps: each new or changed day's part is encoded now, and the
    // result joins the months into the text when called, on any thread, at any time: a month's text is
    // never changed once made. Between two calls a ledger only gains days or changes the days named, or
    // is replaced by another (one with fewer days, or a day named that it lacks, is written afresh).
    std::function<std::string()> encode(const TimeLedger&, const std::set<std::string>& changedDays);

private:
    // The days whose keys share their first seven characters ("2025-03").
    struct Month {
        std::map<std::string, std::string> parts;
        std::shared_ptr<const std::string> joined;
    };
    void rebuild(const TimeLedger&);

    std::map<std::string, Month> m_months;
    std::size_t m_dayCount{ 0 };
};
Expected<TimeLedger> decodeLedger(std::span<const std::uint8_t> bytes);

} // namespace cohortex
