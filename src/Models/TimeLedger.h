#pragma once

#include "Support/Calendar.h"
#include "Support/Date.h"
#include "Support/Error.h"
#include "Support/Uuid.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>

namespace cohortex {

// FIXME: a minimal stand-in that lets the time tracker build; the full ledger model replaces it.
//
// Seconds spent in each workspace on each local calendar day, keyed by "YYYY-MM-DD" and by the
// workspace's upper-case id, so that the stored form and the CSV rows sort by date as plain strings.
class TimeLedger {
public:
    // Seconds of zero or less change nothing, so no empty day is ever recorded.
    void add(double seconds, const Uuid& workspace, Date date, const Calendar&);
    double seconds(const Uuid& workspace, Date date, const Calendar&) const;
    // The n calendar days ending with the day of `now`; 0 for n < 1.
    double seconds(const Uuid& workspace, int lastDays, Date now, const Calendar&) const;
    // "Date,Workspace,Hours" and one row per day and workspace; ids without a name are exported as
    // "Removed workspace".
    std::string csv(const std::map<Uuid, std::string>& names) const;

    bool operator==(const TimeLedger&) const = default;

private:
    using Days = std::map<std::string, std::map<std::string, double>>;

    friend std::string encodeLedger(const TimeLedger&);
    friend Expected<TimeLedger> decodeLedger(std::span<const std::uint8_t>);

    Days m_days;
};

std::string encodeLedger(const TimeLedger&);
Expected<TimeLedger> decodeLedger(std::span<const std::uint8_t> bytes);

} // namespace cohortex
