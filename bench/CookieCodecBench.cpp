#include "Engine/SessionCookieCodec.h"

#include <benchmark/benchmark.h>
#include <string>

namespace cohortex {
namespace {

// A busy jar: session cookies with realistic lengths spread over many sites.
std::vector<HttpCookie> makeJar(int count)
{
    std::vector<HttpCookie> jar;
    for (int i = 0; i < count; ++i) {
        auto index = std::to_string(i);
        HttpCookie cookie{ "session_" + index, std::string(96, static_cast<char>('a' + i % 26)) + index,
            ".site" + std::to_string(i % 40) + ".example.com", i % 3 ? "/" : "/account/settings",
            std::nullopt, i % 2 == 0, i % 3 == 0, static_cast<HttpCookie::SameSite>(i % 4) };
        jar.push_back(std::move(cookie));
    }
    return jar;
}

void encodeSessionCookies(benchmark::State& state)
{
    auto jar = makeJar(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto blob = SessionCookieCodec::encode(jar);
        benchmark::DoNotOptimize(blob);
    }
}
BENCHMARK(encodeSessionCookies)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true);

void decodeSessionCookies(benchmark::State& state)
{
    auto blob = *SessionCookieCodec::encode(makeJar(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        auto cookies = SessionCookieCodec::decode(blob);
        benchmark::DoNotOptimize(cookies);
    }
}
BENCHMARK(decodeSessionCookies)
    ->Arg(500)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace cohortex
