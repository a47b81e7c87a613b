#include "Services/TimeTracker.h"

#include "Services/StoredKeys.h"
#include "Support/DefaultsStore.h"

#include <cstdint>
#include <span>
#include <string>

namespace cohortex {

namespace {

TimeLedger storedLedger(const DefaultsStore& defaults)
{
    auto data = defaults.data(keys::timeLedger);
    if (!data)
        return {};
    return decodeLedger(*data).value_or(TimeLedger{});
}

} // namespace

TimeTracker::TimeTracker(DefaultsStore& defaults)
    : m_defaults(defaults)
    , m_ledger(storedLedger(defaults))
    , m_isEnabled(defaults.boolean(keys::timeTrackingEnabled).value_or(true))
{
}

void TimeTracker::setEnabled(bool isEnabled)
{
    m_isEnabled.set(isEnabled);
    m_defaults.setBoolean(keys::timeTrackingEnabled, isEnabled);
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
    m_ledger.modify([&](TimeLedger& ledger) { ledger.add(tickSeconds, *activeWorkspace, now, calendar); });
    if (++m_unsavedTicks >= ticksPerSave)
        save();
}

void TimeTracker::save()
{
    m_unsavedTicks = 0;
    auto text = encodeLedger(m_ledger.get());
    m_defaults.setData(
        keys::timeLedger, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void TimeTracker::clear()
{
    m_ledger.set(TimeLedger{});
    save();
}

} // namespace cohortex
