#include "Services/TimeTracker.h"

#include "Fakes/MemoryDefaults.h"
#include "Services/StoredKeys.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace cohortex {
namespace {

const Calendar berlin = *Calendar::inTimeZone("Europe/Berlin");
// 2025-03-05 10:00 in Berlin (UTC+1).
const Date morning = Date::fromUnixTime(1741165200);
const Uuid alpha = *Uuid::parse("7C1A2B3C-0000-4000-8000-00000000000A");

class TimeTrackerTest : public ::testing::Test {
protected:
    TimeTracker& relaunch()
    {
        tracker = std::make_unique<TimeTracker>(defaults);
        return *tracker;
    }
    void work(int ticks)
    {
        for (int tick = 0; tick < ticks; ++tick)
            tracker->tick(alpha, true, true, 0, morning, berlin);
    }
    double today() const { return tracker->ledger()->seconds(alpha, morning, berlin); }
    double storedToday() const
    {
        auto data = defaults.data(keys::timeLedger);
        return data ? decodeLedger(*data).value_or(TimeLedger{}).seconds(alpha, morning, berlin) : -1;
    }

    MemoryDefaults defaults;
    std::unique_ptr<TimeTracker> tracker = std::make_unique<TimeTracker>(defaults);
};

TEST_F(TimeTrackerTest, CountsOnlyWhileTheUserWorksInAShownWorkspace)
{
    struct Case {
        const char* name;
        bool isEnabled, hasWorkspace, appIsActive, windowVisible;
        double idleSeconds;
        bool counts;
    };
    for (auto [name, isEnabled, hasWorkspace, appIsActive, windowVisible, idleSeconds, counts] :
        { Case{ "working", true, true, true, true, 0, true },
            Case{ "idle 119.999 s", true, true, true, true, 119.999, true },
            Case{ "idle 120 s", true, true, true, true, 120, false },
            Case{ "idle unknown", true, true, true, true, std::nan(""), false },
            Case{ "switched off", false, true, true, true, 0, false },
            Case{ "another app in front", true, true, false, true, 0, false },
            Case{ "window hidden", true, true, true, false, 0, false },
            Case{ "no workspace shown or it is locked", true, false, true, true, 0, false } }) {
        relaunch().setEnabled(isEnabled);
        auto before = today();
        tracker->tick(hasWorkspace ? std::optional(alpha) : std::nullopt, appIsActive, windowVisible,
            idleSeconds, morning, berlin);
        EXPECT_EQ(today() - before, counts ? TimeTracker::tickSeconds : 0) << name;
    }
}

// Ticks that do not count do not bring the next write closer; a save starts the count again.
TEST_F(TimeTrackerTest, WritesTheLedgerAfterEverySixthCountedTick)
{
    work(5);
    for (int tick = 0; tick < 10; ++tick)
        tracker->tick(alpha, false, true, 0, morning, berlin);
    EXPECT_EQ(defaults.writeCount(), 0);
    work(1);
    EXPECT_EQ(storedToday(), 30);

    work(4);
    tracker->save();
    work(5);
    EXPECT_EQ(storedToday(), 50);
    work(1);
    EXPECT_EQ(relaunch().ledger()->seconds(alpha, morning, berlin), 80);
}

TEST_F(TimeTrackerTest, ClearEmptiesTheHistoryAndStaysClearedAfterARelaunch)
{
    work(8);
    tracker->clear();
    EXPECT_EQ(today(), 0);
    EXPECT_EQ(relaunch().ledger().get(), TimeLedger{});
    // The two ticks that were not saved before the clear must not come back with the next save.
    work(6);
    EXPECT_EQ(storedToday(), 30);
}

TEST_F(TimeTrackerTest, AnUnreadableLedgerStartsEmptyAndIsReplacedAtTheNextSave)
{
    std::string_view text = R"({"days":{"2025-03-05":{"x":"five"}}})";
    defaults.setData(
        keys::timeLedger, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    EXPECT_EQ(relaunch().ledger().get(), TimeLedger{});
    work(6);
    EXPECT_EQ(storedToday(), 30);
}

} // namespace
} // namespace cohortex
