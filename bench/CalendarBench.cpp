#include "Support/Calendar.h"

#include <benchmark/benchmark.h>

namespace cohortex {
namespace {

// The time tracker asks for the local day on every tick, so this call must stay far below a millisecond.
void calendarDay(benchmark::State& state)
{
    auto calendar = *Calendar::inTimeZone("Europe/Berlin");
    Date date = Date::now();
    for (auto _ : state) {
        benchmark::DoNotOptimize(calendar.day(date));
        date = date.adding(5);
    }
}
BENCHMARK(calendarDay);

void calendarStartOfDay(benchmark::State& state)
{
    auto calendar = *Calendar::inTimeZone("Europe/Berlin");
    Date date = Date::now();
    for (auto _ : state) {
        benchmark::DoNotOptimize(calendar.startOfDay(date));
        date = date.adding(3600);
    }
}
BENCHMARK(calendarStartOfDay);

} // namespace
} // namespace cohortex
