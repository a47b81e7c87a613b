#include "Fakes/MemoryDefaults.h"
#include "Platform/Linux/SqliteDefaults.h"
#include "integration/Platform/TemporaryDirectory.h"
#include "Models/UnreadBadge.h"
#include "Services/WorkspaceRuntime.h"

#include <benchmark/benchmark.h>

namespace cohortex {
namespace {

// 50 workspaces of 20 tabs each, the size the 5-second tick and the snapshot write are held to.
std::vector<WorkspaceSession> loadFifty(WorkspaceRuntime& runtime)
{
    std::vector<WorkspaceSession> workspaces;
    for (int w = 0; w < 50; ++w) {
        auto site = *Url::parse("https://client" + std::to_string(w) + ".example.com/");
        WorkspaceSession workspace(
            Uuid::random(), "Client", site, std::nullopt, "globe", "#000000", 1, Uuid::random(), Date(0), Date(0));
        runtime.load(workspace, Date(0));
        for (int t = 1; t < 20; ++t)
            runtime.newTab(workspace.id, *Url::parse("https://client" + std::to_string(w) + ".example.com/page/" + std::to_string(t)));
        workspaces.push_back(workspace);
    }
    return workspaces;
}

void tickWithNothingChanged(benchmark::State& state)
{
    MemoryDefaults defaults;
    WorkspaceRuntime runtime(&defaults);
    loadFifty(runtime);
    runtime.saveNow();
    for (auto _ : state)
        runtime.flushIfNeeded();
}
BENCHMARK(tickWithNothingChanged)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One write of every open tab, encoded and stored durably in the real database; each write differs
// from the one before, as after a real navigation.
void writeOpenTabSnapshot(benchmark::State& state)
{
    TemporaryDirectory directory("/var/tmp");
    auto defaults = SqliteDefaults::open(directory.path() / "defaults.sqlite3");
    WorkspaceRuntime runtime(defaults->get());
    auto workspaces = loadFifty(runtime);
    int step = 0;
    for (auto _ : state) {
        const auto& id = workspaces.front().id;
        runtime.updateTab(runtime.tabs(id)[0].id, id, std::nullopt, *Url::parse("https://step" + std::to_string(++step) + ".example/"));
        runtime.saveNow();
    }
}
BENCHMARK(writeOpenTabSnapshot)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(200)
    ->ReportAggregatesOnly(true);

void readUnreadCount(benchmark::State& state)
{
    std::vector<std::string> titles { "(12) Inbox - ada@example.com - Mail", "Team chat | Channel general",
        "Mail - Inbox (3)", "A rather long document title with (parentheses) in the middle of it" };
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(UnreadBadge::count(titles[i++ % titles.size()]));
}
BENCHMARK(readUnreadCount)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
} // namespace cohortex
