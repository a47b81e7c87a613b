#include "Engine/CookieVault.h"
#include "Engine/SessionCookieCodec.h"
#include "Engine/WebKitManager.h"
#include "Fakes/FakeProxyPasswords.h"
#include "Fakes/FakeWebEngine.h"
#include "Fakes/MemoryDefaults.h"
#include "Support/ManualMainQueue.h"

#include <benchmark/benchmark.h>

namespace cohortex {
namespace {

// A busy workspace's session cookies: many sites, short names, token-sized values.
std::vector<HttpCookie> sessionCookies(int count)
{
    std::vector<HttpCookie> cookies;
    for (int index = 0; index < count; ++index) {
        HttpCookie cookie;
        cookie.name = "sid" + std::to_string(index);
        cookie.value = std::string(48, static_cast<char>('a' + index % 26));
        cookie.domain = ".site" + std::to_string(index % 40) + ".example.com";
        cookie.path = "/";
        cookie.secure = true;
        cookie.httpOnly = index % 2 == 0;
        cookies.push_back(std::move(cookie));
    }
    return cookies;
}

// Restoring 500 saved cookies into a new store through the manager, with an engine, vault and keyring
// that answer at once: what the manager itself adds to a workspace's first activation. The real
// engine's figure is measured against WebKitGTK.
void prepareRestoring500Cookies(benchmark::State& state)
{
    ManualMainQueue queue;
    MemoryDefaults defaults;
    testing::FakeWebEngine engine(queue);
    MemoryCookieVault vault;
    testing::FakeProxyPasswords passwords(queue);
    WebKitManager manager(queue, defaults, engine, vault, passwords);
    auto blob = *SessionCookieCodec::encode(sessionCookies(500));
    auto site = *Url::parse("https://mail.example/");

    for (auto _ : state) {
        state.PauseTiming();
        WorkspaceSession workspace(Uuid::random(), "Mail", site, std::nullopt, "globe", "#000000", 1,
            Uuid::random(), Date(0), Date(0));
        vault.save(blob, workspace.storageIdentifier);
        engine.events.clear();
        engine.jars.clear();
        state.ResumeTiming();

        auto preparing = manager.prepare(workspace);
        queue.runPending();
        if (!preparing.isDone() || !manager.isPrepared(workspace))
            state.SkipWithError("The restoration did not finish");
    }
    state.SetItemsProcessed(state.iterations() * 500);
}
BENCHMARK(prepareRestoring500Cookies)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace cohortex
