#include "Platform/Linux/SqliteDefaults.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <array>
#include <benchmark/benchmark.h>
#include <random>

// Saving and loading the workspace list: 200 workspaces come to about 100 KB of JSON. The goals are a
// median save within 2 ms and a median load within 5 ms. Each repetition times one call, so the median
// over repetitions is the median call, and the write-ahead-log checkpoints that some saves pay for stay
// visible in the mean instead of hiding the typical cost.
namespace cohortex {
namespace {

constexpr std::string_view workspaceListKey = "WorkspaceList";

// Two different lists of the same size. SQLite skips writing pages whose bytes did not change, so saving
// the same list again would measure nothing; alternating makes every save rewrite the whole value, as an
// edit near the start of the JSON text does.
const Bytes& workspaceList(std::size_t version = 0)
{
    static const std::array<Bytes, 2> lists = [] {
        std::mt19937 random(200);
        std::array<Bytes, 2> made{ Bytes(100 * 1024), Bytes(100 * 1024) };
        for (auto& list : made) {
            for (auto& byte : list)
                byte = static_cast<std::uint8_t>(random());
        }
        return made;
    }();
    return lists[version % lists.size()];
}

// One store for every repetition, so saves replace an existing value as they do in the app. It lives
// under /var/tmp because /tmp is often memory-backed, where syncing to disk costs nothing.
SqliteDefaults* sharedStore()
{
    static TemporaryDirectory directory("/var/tmp");
    static auto store = SqliteDefaults::open(directory.path() / "defaults.sqlite3");
    if (!store || !(*store)->setData(workspaceListKey, workspaceList()))
        return nullptr;
    return store->get();
}

void saveWorkspaceList(benchmark::State& state)
{
    auto* store = sharedStore();
    if (!store) {
        state.SkipWithError("cannot open the defaults database");
        return;
    }
    static std::size_t version = 0;
    for (auto _ : state) {
        if (!store->setData(workspaceListKey, workspaceList(++version)))
            state.SkipWithError("the save failed");
    }
}

void loadWorkspaceList(benchmark::State& state)
{
    auto* store = sharedStore();
    if (!store) {
        state.SkipWithError("cannot open the defaults database");
        return;
    }
    for (auto _ : state) {
        auto list = store->data(workspaceListKey);
        if (!list || list->size() != workspaceList().size())
            state.SkipWithError("the load failed");
        benchmark::DoNotOptimize(list);
    }
}

BENCHMARK(saveWorkspaceList)
    ->Iterations(1)
    ->Repetitions(200)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(loadWorkspaceList)
    ->Iterations(1)
    ->Repetitions(200)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace cohortex
