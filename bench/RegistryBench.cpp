#include "Engine/WebViewRegistry.h"
#include "Fakes/FakeProcessMemory.h"
#include "Platform/Linux/ProcMemory.h"
#include "Platform/Linux/SqliteDefaults.h"
#include "Services/ResourceMonitorService.h"
#include "Support/ManualMainQueue.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <stdlib.h>
#include <unordered_map>
#include <vector>

namespace cohortex {
namespace {

constexpr int viewCount = 1000;
constexpr int workspaceCount = 50;
constexpr int processCount = 100;

// Answers from a map without bookkeeping, so the figures are the registry's own cost.
class MapProcessMemory final : public ProcessMemory {
public:
    std::optional<double> footprintMB(std::int32_t pid) const override
    {
        auto found = m_footprints.find(pid);
        if (found == m_footprints.end())
            return std::nullopt;
        return found->second;
    }
    double ownMB() const override { return 312.5; }

    void set(std::int32_t pid, double mb) { m_footprints[pid] = mb; }

private:
    std::unordered_map<std::int32_t, double> m_footprints;
};

// Twenty tabs per workspace; the engine spreads them over a hundred processes, so each process serves
// tabs of ten workspaces and the once-per-process reading and the shared counting are both exercised.
struct Fixture {
    Fixture()
    {
        std::vector<Uuid> workspaces(workspaceCount);
        for (auto& workspace : workspaces)
            workspace = Uuid::random();
        for (int i = 0; i < processCount; ++i)
            memory.set(20000 + i, 80.0 + i);
        for (int i = 0; i < viewCount; ++i) {
            views.push_back(std::make_shared<testing::FakeView>(20000 + i % processCount));
            registry.registerView(views.back(), Uuid::random(), workspaces[i / (viewCount / workspaceCount)]);
        }
    }

    MapProcessMemory memory;
    WebViewRegistry registry{ memory };
    std::vector<std::shared_ptr<testing::FakeView>> views;
};

std::filesystem::path temporaryDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "cohortex-bench-XXXXXX").string();
    return mkdtemp(pattern.data());
}

void registryMeasure(benchmark::State& state)
{
    Fixture fixture;
    for (auto _ : state) {
        auto measurement = fixture.registry.measure();
        benchmark::DoNotOptimize(measurement);
    }
}
BENCHMARK(registryMeasure)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// What the 30-second sweep asks of the monitor on the main thread: which processes to read, handed to a
// worker. The reading and the three publications that follow are left out of the figure.
void monitorRefreshMemory(benchmark::State& state)
{
    Fixture fixture;
    ManualMainQueue queue;
    auto directory = temporaryDirectory();
    auto defaults = SqliteDefaults::open(directory / "defaults.sqlite3");
    {
        ResourceMonitorService monitor(*defaults.value(), fixture.registry, queue);
        for (auto _ : state) {
            monitor.refreshMemory();
            state.PauseTiming();
            queue.runPending();
            benchmark::DoNotOptimize(monitor.totalMB());
            state.ResumeTiming();
        }
    }
    defaults->reset();
    std::filesystem::remove_all(directory);
}
BENCHMARK(monitorRefreshMemory)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The real cost that the fakes leave out: one read of /proc/self/smaps_rollup with the given number of
// megabytes resident on top of this small process. The kernel walks every resident page, so the cost
// grows with the size of the process read; a web-content process is often a few hundred megabytes.
void procFootprintOfResidentMB(benchmark::State& state)
{
    auto size = static_cast<std::size_t>(state.range(0)) * 1024 * 1024;
    std::vector<char> resident(size, 1);
    benchmark::DoNotOptimize(resident.data());
    ProcMemory memory;
    for (auto _ : state)
        benchmark::DoNotOptimize(memory.ownMB());
}
BENCHMARK(procFootprintOfResidentMB)
    ->Arg(0)
    ->Arg(200)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace cohortex
