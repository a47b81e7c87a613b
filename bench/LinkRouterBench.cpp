#include "Fakes/MemoryDefaults.h"
#include "Models/LinkRouter.h"
#include "Services/RoutingRules.h"

#include <benchmark/benchmark.h>

namespace cohortex {
namespace {

// A large rule list as a user with many clients might build it: bare hosts, hosts with a path, and
// imported patterns still in the form they were typed.
std::vector<RoutingRule> makeRules(int count)
{
    std::vector<RoutingRule> rules;
    for (int i = 0; i < count; ++i) {
        auto site = "client" + std::to_string(i) + ".example.com";
        std::string pattern = i % 3 == 0 ? site
            : i % 3 == 1                 ? site + "/team" + std::to_string(i % 7)
                                         : "https://www." + site + "/";
        rules.push_back({ Uuid::random(), pattern, Uuid::random() });
    }
    return rules;
}

// Links that hit a bare host, a path rule, a deep subdomain, and no rule at all.
std::vector<Url> makeLinks(int count)
{
    std::vector<Url> links;
    for (int i = 0; i < count; ++i) {
        auto number = std::to_string((i * 37) % 1200);
        const char* shapes[]
            = { "https://client%s.example.com/", "https://www.CLIENT%s.example.com/Team3/board?id=7",
                  "https://eu.mail.client%s.example.com/inbox", "https://unrelated%s.example.org/page" };
        std::string text = shapes[i % 4];
        text.replace(text.find("%s"), 2, number);
        links.push_back(*Url::parse(text));
    }
    return links;
}

// The goal: at most 5 µs (median) for one link against 1,000 rules.
void compiledRoute(benchmark::State& state)
{
    auto rules = makeRules(static_cast<int>(state.range(0)));
    auto links = makeLinks(256);
    CompiledRules compiled(rules);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(compiled.workspaceID(links[next]));
        next = (next + 1) % links.size();
    }
}
BENCHMARK(compiledRoute)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// What the link intake calls: the cached compiled list of the rule store.
void storeRoute(benchmark::State& state)
{
    MemoryDefaults defaults;
    RoutingRules store(defaults);
    store.setRules(makeRules(static_cast<int>(state.range(0))));
    auto links = makeLinks(256);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.workspaceID(links[next]));
        next = (next + 1) % links.size();
    }
}
BENCHMARK(storeRoute)->Arg(1000)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

// Why the list is compiled: the plain function normalises, measures and sorts every rule per link.
void referenceRoute(benchmark::State& state)
{
    auto rules = makeRules(static_cast<int>(state.range(0)));
    auto links = makeLinks(256);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LinkRouter::workspaceID(links[next], rules));
        next = (next + 1) % links.size();
    }
}
BENCHMARK(referenceRoute)->Arg(1000)->Unit(benchmark::kMicrosecond);

// What one change of the list costs the first link routed after it.
void compileRules(benchmark::State& state)
{
    auto rules = makeRules(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(CompiledRules(rules));
}
BENCHMARK(compileRules)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace cohortex
