#include "Engine/WebViewRegistry.h"
#include "Fakes/FakeAuthenticator.h"
#include "Fakes/FakeProcessMemory.h"
#include "Fakes/MemoryDefaults.h"
#include "Fakes/SessionFakes.h"
#include "Platform/Linux/ProcMemory.h"
#include "Services/Housekeeping.h"
#include "Services/ResourceMonitorService.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Services/TimeTracker.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/ManualMainQueue.h"

#include <benchmark/benchmark.h>
#include <csignal>
#include <cstring>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace cohortex {
namespace {

// The 30-second sweep over 50 loaded workspaces of 20 tabs, 1,000 live views on 50 processes, with
// nothing idle enough to sleep: the steady state the sweep spends most of its life in.
void sweepFiftyWorkspaces(benchmark::State& state)
{
    ManualMainQueue queue;
    MemoryDefaults defaults;
    testing::CallLog log;
    WorkspaceRuntime runtime(nullptr);
    testing::FakeDataStores stores(log);
    testing::FakeKeychain keychain(log);
    RoutingRules rules(defaults);
    TimeTracker timeTracker(defaults);
    testing::FakeIdleTime idleTime;
    testing::FakeAuthenticator authenticator;
    testing::FakeWindowHost window;
    testing::FakeProcessMemory memory;
    WebViewRegistry registry(memory);
    ResourceMonitorService resources(defaults, registry, queue);
    SessionManager manager({ queue, defaults, runtime, stores, keychain, rules, authenticator, window });
    Housekeeping housekeeping(
        { queue, manager, runtime, stores, resources, registry, window, timeTracker, idleTime });
    for (int i = 0; i < 47; ++i)
        manager.addWorkspace("Client " + std::to_string(i),
            *Url::parse("https://c" + std::to_string(i) + ".example/"), "globe", "#000000");
    manager.showMainWindow();
    std::vector<std::shared_ptr<testing::FakeView>> views;
    std::int32_t pid = 1000;
    for (const auto& workspace : manager.workspaces().get()) {
        runtime.load(workspace, queue.now());
        for (int t = 1; t < 20; ++t)
            runtime.newTab(workspace.id, *Url::parse("https://page" + std::to_string(t) + ".example/"));
        memory.footprints[++pid] = 120;
        for (const auto& tab : runtime.tabs(workspace.id)) {
            views.push_back(std::make_shared<testing::FakeView>(pid));
            registry.registerView(views.back(), tab.id, workspace.id);
        }
    }
    for (auto _ : state) {
        housekeeping.sweep(queue.now());
        log.clear();
    }
    state.counters["views"] = static_cast<double>(registry.size());
}
BENCHMARK(sweepFiftyWorkspaces)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Processes of the size of web-content processes: each touches its megabytes and waits to be killed.
class RealProcesses {
public:
    RealProcesses(int count, std::size_t megabytes)
    {
        for (int index = 0; index < count; ++index) {
            pid_t pid = fork();
            if (pid == 0) {
                auto size = megabytes * 1024 * 1024;
                auto* memory = static_cast<char*>(
                    mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
                if (memory != MAP_FAILED)
                    std::memset(memory, 1, size);
                pause();
                _exit(0);
            }
            pids.push_back(pid);
        }
        sleep(2);
    }
    ~RealProcesses()
    {
        for (auto pid : pids) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    std::vector<std::int32_t> pids;
};

// The same sweep over ten loaded workspaces, each on a real process of 300 MB read through /proc: what
// the main thread spends, while a worker reads the processes (left out of the figure).
void sweepTenWorkspacesOnRealProcesses(benchmark::State& state)
{
    RealProcesses processes(10, 300);
    ManualMainQueue queue;
    MemoryDefaults defaults;
    testing::CallLog log;
    WorkspaceRuntime runtime(nullptr);
    testing::FakeDataStores stores(log);
    testing::FakeKeychain keychain(log);
    RoutingRules rules(defaults);
    TimeTracker timeTracker(defaults);
    testing::FakeIdleTime idleTime;
    testing::FakeAuthenticator authenticator;
    testing::FakeWindowHost window;
    ProcMemory memory;
    WebViewRegistry registry(memory);
    ResourceMonitorService resources(defaults, registry, queue);
    SessionManager manager({ queue, defaults, runtime, stores, keychain, rules, authenticator, window });
    Housekeeping housekeeping(
        { queue, manager, runtime, stores, resources, registry, window, timeTracker, idleTime });
    for (int i = 0; i < 7; ++i)
        manager.addWorkspace("Client " + std::to_string(i),
            *Url::parse("https://c" + std::to_string(i) + ".example/"), "globe", "#000000");
    manager.showMainWindow();
    std::vector<std::shared_ptr<testing::FakeView>> views;
    std::size_t next = 0;
    for (const auto& workspace : manager.workspaces().get()) {
        runtime.load(workspace, queue.now());
        for (const auto& tab : runtime.tabs(workspace.id)) {
            views.push_back(
                std::make_shared<testing::FakeView>(processes.pids[next % processes.pids.size()]));
            registry.registerView(views.back(), tab.id, workspace.id);
        }
        ++next;
    }
    for (auto _ : state) {
        housekeeping.sweep(queue.now());
        state.PauseTiming();
        queue.runPending();
        log.clear();
        state.ResumeTiming();
    }
    state.counters["MB read"] = resources.pagesMB().get();
}
BENCHMARK(sweepTenWorkspacesOnRealProcesses)->Unit(benchmark::kMicrosecond)->Iterations(200);

} // namespace
} // namespace cohortex
