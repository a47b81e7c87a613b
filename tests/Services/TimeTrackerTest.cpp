#include "Services/TimeTracker.h"

#include "Fakes/MemoryDefaults.h"
#include "Services/StoredKeys.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string_view>

namespace cohortex {
namespace {

const Calendar berlin = *Calendar::inTimeZone("Europe/Berlin");
// 2025-03-05 10:00 in Berlin (UTC+1).
const Date morning = Date::fromUnixTime(1741165200);
const Uuid alpha = *Uuid::parse("7C1A2B3C-0000-4000-8000-00000000000A");

class TimeTrackerTest : public ::testing::Test {
protected:
    TimeTracker& tracker()
    {
        if (!m_tracker)
            m_tracker = std::make_unique<TimeTracker>(defaults);
        return *m_tracker;
    }
    // A new tracker on the same store, as after quitting and launching again.
    TimeTracker& relaunch()
    {
        m_tracker.reset();
        return tracker();
    }
    void work(int ticks, Date at = morning)
    {
        for (int tick = 0; tick < ticks; ++tick)
            tracker().tick(alpha, true, true, 0, at, berlin);
    }
    double today() { return tracker().ledger()->seconds(alpha, morning, berlin); }
    double storedToday() const
    {
        auto data = defaults.data(keys::timeLedger);
        return data ? decodeLedger(*data).value_or(TimeLedger{}).seconds(alpha, morning, berlin) : -1;
    }
    void storeText(std::string_view text)
    {
        defaults.setData(
            keys::timeLedger, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }

    MemoryDefaults defaults;

private:
    std::unique_ptr<TimeTracker> m_tracker;
};

struct TickCase {
    const char* name;
    bool isEnabled;
    bool hasWorkspace;
    bool appIsActive;
    bool windowVisible;
    double idleSeconds;
    bool counts;
};

class TimeTrackerTickTest : public TimeTrackerTest, public ::testing::WithParamInterface<TickCase> { };

TEST_P(TimeTrackerTickTest, CountsOnlyWhileTheUserWorksInAShownWorkspace)
{
    auto tick = GetParam();
    tracker().setEnabled(tick.isEnabled);
    int published = 0;
    ScopedConnection connection = tracker().ledger().changed().connect([&](const auto&) { ++published; });
    tracker().tick(tick.hasWorkspace ? std::optional(alpha) : std::nullopt, tick.appIsActive,
        tick.windowVisible, tick.idleSeconds, morning, berlin);
    EXPECT_EQ(today(), tick.counts ? TimeTracker::tickSeconds : 0);
    EXPECT_EQ(published, tick.counts ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Conditions, TimeTrackerTickTest,
    ::testing::Values(TickCase{ "Working", true, true, true, true, 0, true },
        TickCase{ "IdleJustBelowTheLimit", true, true, true, true, 119.999, true },
        TickCase{ "Idle119Seconds", true, true, true, true, 119, true },
        TickCase{ "Idle120Seconds", true, true, true, true, 120, false },
        TickCase{ "IdleUnknown", true, true, true, true, std::nan(""), false },
        TickCase{ "SwitchedOff", false, true, true, true, 0, false },
        TickCase{ "AnotherAppInFront", true, true, false, true, 0, false },
        TickCase{ "WindowHiddenOrMinimized", true, true, true, false, 0, false },
        TickCase{ "NoWorkspaceShownOrLocked", true, false, true, true, 0, false }),
    [](const auto& info) { return std::string(info.param.name); });

// Every sixth counted tick is written; a save starts the count again, and the ledger carries over.
TEST_F(TimeTrackerTest, WritesTheLedgerAfterEverySixthCountedTick)
{
    work(5);
    // Ticks that do not count do not bring the next write closer.
    for (int tick = 0; tick < 10; ++tick)
        tracker().tick(alpha, false, true, 0, morning, berlin);
    EXPECT_EQ(defaults.writeCount(), 0);
    work(1);
    EXPECT_EQ(defaults.writeCount(), 1);
    EXPECT_EQ(storedToday(), 30);

    work(4);
    tracker().save();
    EXPECT_EQ(storedToday(), 50);
    work(5);
    EXPECT_EQ(defaults.writeCount(), 2);
    work(1);
    EXPECT_EQ(defaults.writeCount(), 3);
    EXPECT_EQ(relaunch().ledger()->seconds(alpha, morning, berlin), 80);
    work(6);
    EXPECT_EQ(today(), 110);
    EXPECT_EQ(storedToday(), 110);
}

TEST_F(TimeTrackerTest, ATickAfterMidnightCountsFullyForTheNewDay)
{
    auto lateEvening = Date::fromUnixTime(1741215598); // 2025-03-05 23:59:58 in Berlin
    auto afterMidnight = lateEvening.adding(5);
    tracker().tick(alpha, true, true, 0, lateEvening, berlin);
    tracker().tick(alpha, true, true, 0, afterMidnight, berlin);
    EXPECT_EQ(tracker().ledger()->seconds(alpha, lateEvening, berlin), 5);
    EXPECT_EQ(tracker().ledger()->seconds(alpha, afterMidnight, berlin), 5);
}

TEST_F(TimeTrackerTest, ClearEmptiesTheHistoryAndStaysClearedAfterARelaunch)
{
    work(8);
    int published = 0;
    ScopedConnection connection = tracker().ledger().changed().connect([&](const auto&) { ++published; });
    tracker().clear();
    EXPECT_EQ(published, 1);
    EXPECT_EQ(today(), 0);
    EXPECT_EQ(storedToday(), 0);
    EXPECT_EQ(relaunch().ledger().get(), TimeLedger{});
    // The two ticks that were not saved before the clear must not come back with the next save.
    work(6);
    EXPECT_EQ(storedToday(), 30);
}

TEST_F(TimeTrackerTest, TrackingIsOnUnlessSwitchedOffAndTheSwitchSurvivesARelaunch)
{
    EXPECT_TRUE(tracker().isEnabled().get());
    tracker().setEnabled(false);
    EXPECT_EQ(defaults.boolean(keys::timeTrackingEnabled), false);
    EXPECT_FALSE(relaunch().isEnabled().get());
    work(12);
    EXPECT_EQ(today(), 0);

    // A switch stored as another kind reads as absent, and absent means on.
    defaults.setInteger(keys::timeTrackingEnabled, 0);
    EXPECT_TRUE(relaunch().isEnabled().get());
}

TEST_F(TimeTrackerTest, AnUnreadableLedgerStartsEmptyAndIsReplacedAtTheNextSave)
{
    for (auto text : { "not json", R"({"weeks":{}})", R"({"days":{"2025-03-05":{"x":"five"}}})" }) {
        storeText(text);
        EXPECT_EQ(relaunch().ledger().get(), TimeLedger{}) << text;
    }
    work(6);
    EXPECT_EQ(storedToday(), 30);
}

} // namespace
} // namespace cohortex
