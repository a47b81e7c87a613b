#include "Models/QuickSwitcher.h"

#include <benchmark/benchmark.h>

namespace cohortex {
namespace {

// 100 workspaces with four tabs each: workspace rows followed by their tab rows, as the switcher lists them.
std::vector<SwitcherItem> makeItems(int count)
{
    std::vector<SwitcherItem> items;
    const char* tabTitles[]
        = { "Inbox (3) - Mail", "Quarterly planning – Docs", "Team chat", "Zürich office map" };
    for (int workspace = 0; items.size() < static_cast<std::size_t>(count); ++workspace) {
        auto id = Uuid::random();
        auto name = "Client workspace " + std::to_string(workspace);
        auto host = "mail" + std::to_string(workspace) + ".example.com";
        items.emplace_back(id, std::nullopt, name, host);
        for (int tab = 0; tab < 4 && items.size() < static_cast<std::size_t>(count); ++tab)
            items.emplace_back(id, Uuid::random(), tabTitles[tab], name + " · " + host);
    }
    return items;
}

// The goal: at most 0.5 ms per query over 500 rows, since the panel re-ranks on every key press.
void rankQuery(benchmark::State& state)
{
    auto items = makeItems(500);
    const char* queries[] = { "client 4", "inbox", "mail example", "zürich", "nothing matches this" };
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(QuickSwitcher::rank(queries[next], items));
        next = (next + 1) % std::size(queries);
    }
}
BENCHMARK(rankQuery)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

} // namespace
} // namespace cohortex
