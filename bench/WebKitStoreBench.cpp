#include "Engine/WebKitGtk/WebKitEngine.h"
#include "Platform/Linux/GLibMainQueue.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <benchmark/benchmark.h>
#include <glib.h>
#include <memory>
#include <string>
#include <vector>

// The real WebKit data stores. Goals: opening a store within 20 ms, and putting 500 saved cookies into
// a fresh store, one awaited call after the other as restoring a workspace's logins does, within 150 ms.
// Opening is timed twice: the call itself, and until the store has answered its first cookie read, which
// is when its network session really exists. Each repetition times one store, so the median is the
// typical store. The first store of a run also starts WebKit's sandboxed network process, a one-off cost
// of a couple of hundred milliseconds that is kept out of the figures. No page is shown, so no display
// is needed (under `xvfb-run -a` it runs the same):
//
//     build/bench/cohortex_bench --benchmark_filter=Store
namespace cohortex {
namespace {

// The stores live under /var/tmp because /tmp is often memory-backed, where writing the cookie file
// would cost nothing.
class BenchHome {
public:
    BenchHome()
    {
        g_setenv("XDG_DATA_HOME", (m_directory.path() / "data").c_str(), true);
        g_setenv("XDG_CACHE_HOME", (m_directory.path() / "cache").c_str(), true);
    }

    WebKitEngine& engine() { return *m_engine; }

    // Iterates the main context until the task is done; false if it takes more than ten seconds. The
    // loop sleeps between events, so that it leaves the cores to WebKit's network process.
    template <typename T>
    bool finish(const Task<T>& task)
    {
        bool timedOut = false;
        auto timer = g_timeout_add_seconds(10, stopWaiting, &timedOut);
        while (!task.isDone() && !timedOut)
            g_main_context_iteration(nullptr, true);
        if (!timedOut)
            g_source_remove(timer);
        return task.isDone();
    }

private:
    static gboolean stopWaiting(gpointer timedOut)
    {
        *static_cast<bool*>(timedOut) = true;
        return G_SOURCE_REMOVE;
    }

    TemporaryDirectory m_directory{ "/var/tmp" };
    GLibMainQueue m_queue;
    std::unique_ptr<WebKitEngine> m_engine = std::make_unique<WebKitEngine>();
};

BenchHome& home()
{
    static BenchHome home;
    // The network process starts with the first store of a run, once, not once per store.
    static bool isWarm = home.finish(home.engine().allCookies(Uuid::random()));
    (void)isWarm;
    return home;
}

// What a workspace saves between runs are its session cookies, the ones the engine forgets at quit, so
// restoring never writes the cookie file.
std::vector<HttpCookie> savedCookies()
{
    std::vector<HttpCookie> cookies;
    for (int index = 0; index < 500; ++index) {
        cookies.push_back({ "cookie" + std::to_string(index), "value-" + std::to_string(index * 7919),
            "site" + std::to_string(index % 25) + ".example", "/", std::nullopt, index % 3 == 0,
            index % 5 == 0, HttpCookie::SameSite::Lax });
    }
    return cookies;
}

Task<void> restore(WebEngine& engine, Uuid storage, std::vector<HttpCookie> cookies)
{
    for (const auto& cookie : cookies)
        co_await engine.setCookie(storage, cookie);
}

void openStore(benchmark::State& state)
{
    auto& bench = home();
    for (auto _ : state)
        bench.engine().openStore(Uuid::random());
}

void openStoreUntilItAnswers(benchmark::State& state)
{
    auto& bench = home();
    for (auto _ : state) {
        if (!bench.finish(bench.engine().allCookies(Uuid::random())))
            state.SkipWithError("the store did not answer");
    }
}

void restore500CookiesIntoStore(benchmark::State& state)
{
    auto& bench = home();
    static const auto cookies = savedCookies();
    for (auto _ : state) {
        state.PauseTiming();
        auto storage = Uuid::random();
        bench.finish(bench.engine().allCookies(storage));
        state.ResumeTiming();
        if (!bench.finish(restore(bench.engine(), storage, cookies)))
            state.SkipWithError("the cookies were not all set");
    }
}

BENCHMARK(openStore)->Iterations(1)->Repetitions(50)->ReportAggregatesOnly(true)->Unit(
    benchmark::kMillisecond);
BENCHMARK(openStoreUntilItAnswers)
    ->Iterations(1)
    ->Repetitions(50)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(restore500CookiesIntoStore)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace cohortex
