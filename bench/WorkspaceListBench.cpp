#include "Models/WorkspaceSession.h"
#include "Platform/Linux/SqliteDefaults.h"
#include "Services/StoredKeys.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <stdlib.h>

namespace cohortex {
namespace {

std::vector<WorkspaceSession> makeList(int count)
{
    std::vector<WorkspaceSession> list;
    for (int i = 0; i < count; ++i) {
        auto site = *Url::parse("https://site" + std::to_string(i) + ".example.com/start");
        WorkspaceSession workspace(Uuid::random(), "Client workspace " + std::to_string(i), site,
            std::nullopt, "briefcase.fill", "#34C759", std::min(i + 1, 9), Uuid::random(), Date(7e8 + i),
            Date(7.1e8 + i));
        if (i % 3 == 0) {
            workspace.proxyType = "socks5";
            workspace.proxyHost = "127.0.0.1";
            workspace.proxyPort = 1080;
            workspace.downloadFolderPath = "/home/user/Downloads/client-" + std::to_string(i);
        }
        list.push_back(std::move(workspace));
    }
    return list;
}

std::filesystem::path temporaryDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "cohortex-bench-XXXXXX").string();
    return mkdtemp(pattern.data());
}

// What saveWorkspaces does on every change of the list: encode and write durably.
void saveWorkspaceList(benchmark::State& state)
{
    auto directory = temporaryDirectory();
    auto store = SqliteDefaults::open(directory / "defaults.sqlite3");
    auto list = makeList(static_cast<int>(state.range(0)));
    double stamp = 0;
    for (auto _ : state) {
        // Each save stores different bytes, as a real change does; SQLite skips pages that did not change.
        list.front().lastActiveAt = Date(++stamp);
        auto encoded = encodeWorkspaceList(list);
        store.value()->setData(keys::workspaces,
            std::span(reinterpret_cast<const std::uint8_t*>(encoded.data()), encoded.size()));
    }
    store->reset();
    std::filesystem::remove_all(directory);
}
// Timed one save at a time: the goal is the median save; an occasional WAL checkpoint is its tail.
BENCHMARK(saveWorkspaceList)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(200)
    ->ReportAggregatesOnly(true);

// What start-up does: read the stored bytes and decode them.
void loadWorkspaceList(benchmark::State& state)
{
    auto directory = temporaryDirectory();
    auto store = SqliteDefaults::open(directory / "defaults.sqlite3");
    auto encoded = encodeWorkspaceList(makeList(static_cast<int>(state.range(0))));
    store.value()->setData(
        keys::workspaces, std::span(reinterpret_cast<const std::uint8_t*>(encoded.data()), encoded.size()));
    for (auto _ : state) {
        auto bytes = store.value()->data(keys::workspaces);
        auto decoded = decodeWorkspaceList(*bytes);
        benchmark::DoNotOptimize(decoded);
    }
    store->reset();
    std::filesystem::remove_all(directory);
}
BENCHMARK(loadWorkspaceList)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(200)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace cohortex
