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

// What the sweep works on: the session manager and its runtime over the unit tests' fakes, with the
// given memory reader, and `extra` workspaces added to the presets, all shown.
struct SweepWorld {
    SweepWorld(const ProcessMemory& memory, int extra)
        : registry(memory)
    {
        for (int i = 0; i < extra; ++i)
            manager.addWorkspace("Client " + std::to_string(i),
                *Url::parse("https://c" + std::to_string(i) + ".example/"), "globe", "#000000");
        manager.showMainWindow();
    }

    // Times the sweep on the main thread; what it hands to a worker (reading /proc) runs untimed.
    void sweepRepeatedly(benchmark::State& state)
    {
        for (auto _ : state) {
            housekeeping.sweep(queue.now());
            state.PauseTiming();
            queue.runPending();
            log.clear();
            state.ResumeTiming();
        }
    }

    // Every tab of the workspace gets a live view on the process.
    void show(const Uuid& workspaceId, std::int32_t pid)
    {
        for (const auto& tab : runtime.tabs(workspaceId)) {
            views.push_back(std::make_shared<testing::FakeView>(pid));
            registry.registerView(views.back(), tab.id, workspaceId);
        }
    }

    ManualMainQueue queue;
    MemoryDefaults defaults;
    testing::CallLog log;
    WorkspaceRuntime runtime{ nullptr };
    testing::FakeDataStores stores{ log };
    testing::FakeKeychain keychain{ log };
    RoutingRules rules{ defaults };
    TimeTracker timeTracker{ defaults };
    testing::FakeIdleTime idleTime;
    testing::FakeAuthenticator authenticator;
    testing::FakeWindowHost window;
    WebViewRegistry registry;
    ResourceMonitorService resources{ defaults, registry, queue };
    SessionManager manager{ { queue, defaults, runtime, stores, keychain, rules, authenticator, window } };
    Housekeeping housekeeping{ { queue, manager, runtime, stores, resources, registry, window, timeTracker,
        idleTime } };
    std::vector<std::shared_ptr<testing::FakeView>> views;
};

// The 30-second sweep over 50 loaded workspaces of 20 tabs, 1,000 live views on 50 processes, with
// nothing idle enough to sleep: the steady state the sweep spends most of its life in.
void sweepFiftyWorkspaces(benchmark::State& state)
{
    testing::FakeProcessMemory memory;
    SweepWorld world(memory, 47);
    std::int32_t pid = 1000;
    for (const auto& workspace : world.manager.workspaces().get()) {
        world.runtime.load(workspace, world.queue.now());
        for (int t = 1; t < 20; ++t)
            world.runtime.newTab(workspace.id, *Url::parse("https://page" + std::to_string(t) + ".example/"));
        memory.footprints[++pid] = 120;
        world.show(workspace.id, pid);
    }
    world.sweepRepeatedly(state);
    state.counters["views"] = static_cast<double>(world.registry.size());
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
    ProcMemory memory;
    SweepWorld world(memory, 7);
    std::size_t next = 0;
    for (const auto& workspace : world.manager.workspaces().get()) {
        world.runtime.load(workspace, world.queue.now());
        world.show(workspace.id, processes.pids[next++ % processes.pids.size()]);
    }
    world.sweepRepeatedly(state);
    state.counters["MB read"] = world.resources.pagesMB().get();
}
BENCHMARK(sweepTenWorkspacesOnRealProcesses)->Unit(benchmark::kMicrosecond)->Iterations(200);

} // namespace
} // namespace cohortex
