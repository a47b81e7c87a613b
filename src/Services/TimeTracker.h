#pragma once

#include "Models/TimeLedger.h"
#include "Support/Calendar.h"
#include "Support/Date.h"
#include "Support/Observable.h"
#include "Support/StoredRecord.h"
#include "Support/Uuid.h"

#include <functional>
#include <optional>

namespace cohortex {

class DefaultsStore;

// Counts the time the user really works in each workspace. The application's 5-second tick reports
// what is on screen and how long the user has been idle; a tick in which the user is working in a
// shown workspace adds five seconds to it in today's entry of the ledger.
//
// The ledger is written to the defaults store after every sixth counted tick (off the main thread where the
// store can), on clear() and whenever the application calls save() (it does so at quit, and waits for the
// write), so at most 30 counted seconds are ever lost.
// The on/off switch is written at once. Main thread only.
class TimeTracker {
public:
    // Seconds added by one counted tick: the application's tick interval.
    static constexpr double tickSeconds = 5.0;
    // Input idleness at or beyond which a tick is not counted.
    static constexpr double idleLimit = 120.0;
    static constexpr int ticksPerSave = 6;

    // Reads the ledger and the switch. A ledger that does not decode starts empty, without a message, and
    // is replaced at the next save; one the database could not read is never saved over in this run. A
    // missing switch, or one stored as another kind, means on.
    explicit TimeTracker(DefaultsStore&);
    TimeTracker(const TimeTracker&) = delete;
    TimeTracker& operator=(const TimeTracker&) = delete;

    const Observable<TimeLedger>& ledger() const { return m_ledger; }
    const Observable<bool>& isEnabled() const { return m_isEnabled; }
    // Stores the switch at once, and keeps the old one when that fails (false). Switching off does not
    // save the ledger.
    bool setEnabled(bool);

    void tick(std::optional<Uuid> activeWorkspace, bool appIsActive, bool windowVisible, double idleSeconds,
        Date now, const Calendar&);
    bool save();
    // Empties the whole history and saves at once, so it stays cleared after a relaunch; when the save
    // fails the history stays as it was (false).
    bool clear();

private:
    std::function<std::string()> encodeChanges();
    bool counts(const std::optional<Uuid>& activeWorkspace, bool appIsActive, bool windowVisible,
        double idleSeconds) const;

    DefaultsStore& m_defaults;
    StoredRecord m_storedLedger;
    Observable<TimeLedger> m_ledger;
    Observable<bool> m_isEnabled;
    int m_unsavedTicks{ 0 };
    // The days changed since the last save, which the encoding writes again; the others it copies.
    std::set<std::string> m_changedDays;
    LedgerEncoding m_encoding;
};

} // namespace cohortex
