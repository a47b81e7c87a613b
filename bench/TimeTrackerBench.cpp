#include "Fakes/MemoryDefaults.h"
#include "Platform/Linux/SqliteDefaults.h"
#include "Services/TimeTracker.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace cohortex {
namespace {

// Each tick must stay far below the 5-second interval; the goal is 10 µs a tick, saves included.
const Calendar berlin = *Calendar::inTimeZone("Europe/Berlin");
const Date start = Date::fromUnixTime(1741165200);

std::vector<Uuid> workspaces(int count)
{
    std::vector<Uuid> ids;
    for (int index = 0; index < count; ++index)
        ids.push_back(Uuid::random());
    return ids;
}

// A ledger of `days` days, each with time in every one of the workspaces.
void fillDays(TimeTracker& tracker, const std::vector<Uuid>& ids, int days)
{
    for (int day = 0; day < days; ++day) {
        for (const auto& id : ids)
            tracker.tick(id, true, true, 0, start.adding(-86400.0 * day), berlin);
    }
    tracker.save();
}

// Most ticks do not count (another application in front, the user away); they must cost nothing.
void tickNotCounted(benchmark::State& state)
{
    MemoryDefaults defaults;
    TimeTracker tracker(defaults);
    auto id = Uuid::random();
    for (auto _ : state)
        tracker.tick(id, false, true, 0, start, berlin);
}
BENCHMARK(tickNotCounted);

// A counted tick on a ledger holding `range(0)` days of ten workspaces, without the save that every
// sixth one makes: the saves happen outside the timing, after every fifth tick.
void tickCounted(benchmark::State& state)
{
    MemoryDefaults defaults;
    TimeTracker tracker(defaults);
    auto ids = workspaces(10);
    fillDays(tracker, ids, static_cast<int>(state.range(0)));
    Date now = start;
    int ticks = 0;
    for (auto _ : state) {
        tracker.tick(ids[0], true, true, 0, now, berlin);
        now = now.adding(TimeTracker::tickSeconds);
        if (++ticks % (TimeTracker::ticksPerSave - 1) == 0) {
            state.PauseTiming();
            tracker.save();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(tickCounted)->Arg(1)->Arg(30)->Arg(365);

// Counted ticks on a ledger of `range(0)` days of ten workspaces, every sixth one saving it.
void tickWithSaves(benchmark::State& state, DefaultsStore& defaults)
{
    TimeTracker tracker(defaults);
    auto ids = workspaces(10);
    fillDays(tracker, ids, static_cast<int>(state.range(0)));
    Date now = start;
    for (auto _ : state) {
        tracker.tick(ids[0], true, true, 0, now, berlin);
        now = now.adding(TimeTracker::tickSeconds);
    }
}

// The same with every sixth tick encoding and storing the whole ledger: the average cost of a tick.
void tickCountedWithSaves(benchmark::State& state)
{
    MemoryDefaults defaults;
    tickWithSaves(state, defaults);
}
BENCHMARK(tickCountedWithSaves)->Arg(1)->Arg(30)->Arg(365)->Unit(benchmark::kMicrosecond);

// What the sixth tick adds on a year's ledger of ten workspaces: encoding it and storing it.
void saveAYear(benchmark::State& state)
{
    MemoryDefaults defaults;
    TimeTracker tracker(defaults);
    fillDays(tracker, workspaces(10), 365);
    for (auto _ : state)
        tracker.save();
}
BENCHMARK(saveAYear)->Unit(benchmark::kMicrosecond);

// The same on the real settings database in a temporary folder: the main thread's share of a counted tick
// with a year's ledger, averaged over the six-tick cycle, the stored write included.
void tickCountedWithSqliteSaves(benchmark::State& state)
{
    auto folder
        = std::filesystem::temp_directory_path() / ("cohortex-tick-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    {
        auto defaults = SqliteDefaults::open(folder / "defaults.sqlite3");
        if (!defaults) {
            state.SkipWithError(defaults.error().message.c_str());
            return;
        }
        tickWithSaves(state, **defaults);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(tickCountedWithSqliteSaves)->Arg(365)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace cohortex
