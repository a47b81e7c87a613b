#include "Services/TimeTracker.h"

#include "Services/StoredKeys.h"
#include "Support/DefaultsStore.h"

#include <cstdint>
#include <span>
#include <string>

namespace cohortex {

namespace {

TimeLedger storedLedger(StoredRecord& record)
{
    auto data = record.load();
    if (!data)
        return {};
    return decodeLedger(*data).value_or(TimeLedger{});
}

} // namespace

TimeTracker::TimeTracker(DefaultsStore& defaults)
    : m_defaults(defaults)
    , m_storedLedger(defaults, keys::timeLedger)
    , m_ledger(storedLedger(m_storedLedger))
    , m_isEnabled(defaults.boolean(keys::timeTrackingEnabled).value_or(true))
{
}

bool TimeTracker::setEnabled(bool isEnabled)
{
    if (!m_defaults.setBoolean(keys::timeTrackingEnabled, isEnabled))
        return false;
    m_isEnabled.set(isEnabled);
    return true;
}

bool TimeTracker::counts(const std::optional<Uuid>& activeWorkspace, bool appIsActive, bool windowVisible,
    double idleSeconds) const
{
    // Written as "not below the limit" so that an unreadable idle time (NaN) does not count either.
    bool isIdle = !(idleSeconds < idleLimit);
    return m_isEnabled.get() && activeWorkspace && appIsActive && windowVisible && !isIdle;
}

void TimeTracker::tick(std::optional<Uuid> activeWorkspace, bool appIsActive, bool windowVisible,
    double idleSeconds, Date now, const Calendar& calendar)
{
    if (!counts(activeWorkspace, appIsActive, windowVisible, idleSeconds))
        return;
    m_ledger.modify([&](TimeLedger& ledger) {
        if (auto day = ledger.add(tickSeconds, *activeWorkspace, now, calendar))
            m_changedDays.insert(std::move(*day));
    });
    if (++m_unsavedTicks < ticksPerSave)
        return;
    // The main thread encodes only the changed days; the text is joined and the disk waited for elsewhere.
    m_storedLedger.saveSoon(encodeChanges());
}

bool TimeTracker::save()
{
    return m_storedLedger.save(encodeChanges()());
}

std::function<std::string()> TimeTracker::encodeChanges()
{
    m_unsavedTicks = 0;
    return m_encoding.encode(m_ledger.get(), std::exchange(m_changedDays, {}));
}

bool TimeTracker::clear()
{
    if (!m_storedLedger.save(encodeLedger(TimeLedger{})))
        return false;
    m_unsavedTicks = 0;
    m_ledger.set(TimeLedger{});
    return true;
}

} // namespace cohortex
