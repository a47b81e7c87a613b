// Speed of the window's views, drawn for real. Run under a display:
//     xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/cohortex_ui_bench
// Each iteration times one change until the window has painted the frame that shows it (the frame
// clock's after-paint); "median_ms" is the median over the iterations. The goal for both is one
// frame at 60 Hz, 16 ms. The window is drawn with the renderer the browser would choose on this machine
// (Cairo without a graphics device); GSK_RENDERER=ngl measures GTK's OpenGL renderer instead.
#include "Platform/Linux/SoftwareRendering.h"
#include "Services/Housekeeping.h"
#include "UI/QuickSwitcher/QuickSwitcherView.h"
#include "UI/WorkspaceWindow/WorkspaceWindowView.h"
#include "UiWorld.h"
#include "e2e/ProcessTree.h"
#include "integration/Engine/MainLoop.h"
#include "integration/Engine/TestHttpServer.h"

#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <gtk/gtk.h>
#include <gtkmm/init.h>
#include <gtkmm/window.h>
#include <unistd.h>

namespace cohortex::bench {
namespace {

using Clock = std::chrono::steady_clock;

// Lets the frame clock go idle first, so that a measured frame never waits for the one before it.
constexpr std::chrono::milliseconds pauseBetweenFrames{ 40 };

// How long the change itself took, and how long until the window had painted it. Milliseconds.
struct FrameTime {
    double change{ 0 };
    double total{ 0 };
};

// Makes the change, then runs the main loop until the window has painted it.
template <typename Change>
FrameTime timeToPaint(Gtk::Window& window, Change&& change)
{
    runFor(pauseBetweenFrames);
    bool painted = false;
    auto* clock = gtk_widget_get_frame_clock(GTK_WIDGET(window.gobj()));
    auto handler = g_signal_connect_swapped(
        clock, "after-paint", G_CALLBACK(+[](bool* flag) { *flag = true; }), &painted);
    auto start = Clock::now();
    change();
    auto changed = Clock::now();
    // The whole window is drawn again, not only what changed: the measure errs on the slow side.
    gtk_widget_queue_draw(GTK_WIDGET(window.gobj()));
    runUntil([&painted] { return painted; }, std::chrono::seconds(5));
    auto end = Clock::now();
    g_signal_handler_disconnect(clock, handler);
    return { std::chrono::duration<double, std::milli>(changed - start).count(),
        std::chrono::duration<double, std::milli>(end - start).count() };
}

// Times each iteration until its frame was painted and reports the medians: of the whole, and of the
// change alone, before the frame (layout, drawing and, under Xvfb, software rendering) was made.
class FrameTimes {
public:
    explicit FrameTimes(benchmark::State& state)
        : m_state(state)
    {
    }
    ~FrameTimes()
    {
        if (m_totals.empty())
            return;
        std::ranges::sort(m_totals);
        std::ranges::sort(m_changes);
        m_state.counters["median_ms"] = m_totals[m_totals.size() / 2];
        m_state.counters["max_ms"] = m_totals.back();
        m_state.counters["change_median_ms"] = m_changes[m_changes.size() / 2];
    }

    void add(FrameTime time)
    {
        m_state.SetIterationTime(time.total / 1000);
        m_totals.push_back(time.total);
        m_changes.push_back(time.change);
    }

private:
    benchmark::State& m_state;
    std::vector<double> m_totals;
    std::vector<double> m_changes;
};

void present(Gtk::Window& window, Gtk::Widget& content)
{
    window.set_default_size(1100, 750);
    window.set_child(content);
    window.present();
    runUntil([&content] { return content.get_mapped(); });
    runFor(std::chrono::milliseconds(300));
}

// Runs the main loop until this process and the engine's have been quiet for three seconds in a row, and
// returns how long that took. A page keeps its engine busy for a while after it has loaded: its overlay
// scroll bar, for one, fades out a second or two later, drawn frame by frame in software GL where there
// is no graphics device. Timed meanwhile, a switch measures that animation competing for the processor.
double settleUntilQuiet()
{
    constexpr auto step = std::chrono::milliseconds(500);
    // Under 5 % of one core over a step; the readings come in 10 ms ticks.
    constexpr auto busy = std::chrono::milliseconds(25);
    constexpr int quietStepsNeeded = 6;
    constexpr auto limit = std::chrono::seconds(30);
    const auto start = Clock::now();
    int quietSteps = 0;
    auto used = processTreeCpuTime(getpid());
    while (quietSteps < quietStepsNeeded && Clock::now() - start < limit) {
        runFor(step);
        auto now = processTreeCpuTime(getpid());
        // A process that ended took its time with it: the step cannot be judged, so it counts as busy.
        quietSteps = now >= used && now - used < busy ? quietSteps + 1 : 0;
        used = now;
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

GtkWidget* findEntry(GtkWidget* root)
{
    for (auto* child = gtk_widget_get_first_child(root); child; child = gtk_widget_get_next_sibling(child)) {
        if (GTK_IS_ENTRY(child))
            return child;
        if (auto* found = findEntry(child))
            return found;
    }
    return nullptr;
}

double threadCpuMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

WorkspaceWindowView::Dependencies windowDependencies(UiWorld& world)
{
    return { *world.manager, world.presentation, world.runtime, world.stores,
        { world.queue, world.engine, world.stores, world.registry, world.downloads, &world.launcher },
        world.keychain, world.authenticator, world.resources, world.alerts };
}

std::vector<WorkspaceSession> manyWorkspaces(int count)
{
    std::vector<WorkspaceSession> list;
    for (int index = 1; index <= count; ++index)
        list.push_back(UiWorld::workspace("Workspace " + std::to_string(index),
            *Url::parse("https://site" + std::to_string(index) + ".example.com/")));
    return list;
}

// Fifty workspaces of twenty tabs each, all loaded, with the quick switcher showing. Each iteration
// either types into its field as a user would (growing words, a second word, a miss, and back to an
// empty field) or, for the floor every frame pays under this display, changes nothing at all.
void quickSwitcherFrames(benchmark::State& state, bool typing)
{
    UiWorld world(manyWorkspaces(50));
    for (const auto& workspace : world.manager->workspaces().get()) {
        world.runtime.load(workspace, Date(1000));
        for (int tab = 1; tab < 20; ++tab) {
            auto id = world.runtime.newTab(workspace.id, workspace.initialURL);
            world.runtime.updateTab(*id, workspace.id,
                "Page " + std::to_string(tab) + " of " + workspace.name,
                Url::parse("https://docs" + std::to_string(tab) + ".example.org/"));
        }
    }
    QuickSwitcherView view(*world.manager, world.runtime, world.presentation);
    Gtk::Window window;
    world.presentation.setShowingQuickSwitcher(true);
    present(window, view);
    auto* field = findEntry(GTK_WIDGET(view.gobj()));
    if (!field) {
        state.SkipWithError("no search field");
        return;
    }
    constexpr std::array queries{ "w", "wo", "wor", "work", "works", "workspace", "workspace 1",
        "workspace 12", "page", "page 7", "page 7 of", "docs", "zebra", "", "tab", "page 1" };
    std::size_t next = 0;
    {
        FrameTimes times(state);
        for (auto _ : state) {
            auto* query = queries[next++ % queries.size()];
            times.add(timeToPaint(window, [&] {
                if (typing)
                    gtk_editable_set_text(GTK_EDITABLE(field), query);
            }));
        }
    }
    window.unset_child();
}

void BM_QuickSwitcherTyping(benchmark::State& state)
{
    quickSwitcherFrames(state, true);
}
BENCHMARK(BM_QuickSwitcherTyping)->UseManualTime()->Iterations(64)->Unit(benchmark::kMillisecond);

void BM_QuickSwitcherRedrawOnly(benchmark::State& state)
{
    quickSwitcherFrames(state, false);
}
BENCHMARK(BM_QuickSwitcherRedrawOnly)->UseManualTime()->Iterations(64)->Unit(benchmark::kMillisecond);

// Two workspaces with real pages, both loaded; each iteration switches to the other one.
void BM_SwitchLoadedWorkspaces(benchmark::State& state)
{
    TestHttpServer server;
    std::string html = "<h1>Inbox</h1>";
    for (int row = 0; row < 60; ++row)
        html += "<p>Message " + std::to_string(row) + ": <b>subject</b> and a line of preview text.</p>";
    UiWorld world({ UiWorld::workspace("Mail", *Url::parse(server.urlServing("/mail/u/0/inbox", html))),
        UiWorld::workspace("Chat", *Url::parse(server.urlServing("/chat/team/general", html))) });
    auto first = world.manager->workspaces().get()[0];
    auto second = world.manager->workspaces().get()[1];
    WorkspaceWindowView view(windowDependencies(world));
    Gtk::Window window;
    present(window, view);
    world.manager->openWorkspace(second);
    runUntil([&] { return world.runtime.isLoaded(second.id); });
    // Both pages load, draw and finish what they do after that before anything is timed.
    const double settled = settleUntilQuiet();
    bool toFirst = true;
    {
        state.counters["settled_s"] = settled;
        FrameTimes times(state);
        for (auto _ : state) {
            const auto& target = toFirst ? first : second;
            toFirst = !toFirst;
            times.add(timeToPaint(window, [&] { world.manager->openWorkspace(target); }));
        }
    }
    window.unset_child();
}
BENCHMARK(BM_SwitchLoadedWorkspaces)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

// Ten workspaces with real pages, each on a web process of its own, and a year of counted time: the main
// thread's share of the 30-second sweep (the worker that reads /proc is not timed, its figures are
// waited for between iterations) and of the 5-second tick, averaged over the six of a sweep's 30 seconds.
// Goals: 0.5 ms a sweep, 20 us a tick.
void BM_SweepAndTickTenLoadedWorkspaces(benchmark::State& state)
{
    TestHttpServer server;
    std::vector<WorkspaceSession> list;
    for (int index = 1; index <= 10; ++index) {
        auto path = "/workspace-" + std::to_string(index);
        list.push_back(UiWorld::workspace("Workspace " + std::to_string(index),
            *Url::parse(server.urlServing(path, "<h1>" + path + "</h1>"))));
    }
    UiWorld world(list);
    WorkspaceWindowView view(windowDependencies(world));
    Gtk::Window window;
    present(window, view);
    world.windowHost.showMainWindow();
    for (const auto& workspace : list) {
        world.manager->openWorkspace(workspace);
        runUntil([&] { return !server.requestsFor(workspace.initialURL.path()).empty(); });
    }
    const auto berlin = *Calendar::inTimeZone("Europe/Berlin");
    for (int day = 1; day <= 365; ++day) {
        for (const auto& workspace : list)
            world.timeTracker.tick(
                workspace.id, true, true, 0, world.queue.now().adding(-86400.0 * day), berlin);
    }
    Housekeeping housekeeping({ world.queue, *world.manager, world.runtime, world.dataStores, world.resources,
        world.registry, world.windowHost, world.timeTracker, world.idleTime });
    housekeeping.setCalendar(berlin);
    state.counters["settled_s"] = settleUntilQuiet();
    std::vector<double> sweeps;
    std::vector<double> sweepCpu;
    std::vector<double> ticks;
    // One iteration is one sweep and the six ticks of its 30 seconds; a tick's figure is their average.
    for (auto _ : state) {
        auto startCpu = threadCpuMicroseconds();
        auto start = Clock::now();
        housekeeping.sweep(world.queue.now());
        auto swept = Clock::now();
        sweepCpu.push_back(threadCpuMicroseconds() - startCpu);
        for (int tick = 0; tick < TimeTracker::ticksPerSave; ++tick)
            housekeeping.timeTick();
        auto ticked = Clock::now();
        sweeps.push_back(std::chrono::duration<double, std::micro>(swept - start).count());
        ticks.push_back(
            std::chrono::duration<double, std::micro>(ticked - swept).count() / TimeTracker::ticksPerSave);
        state.SetIterationTime(std::chrono::duration<double>(ticked - start).count());
        runFor(std::chrono::milliseconds(100));
    }
    std::ranges::sort(sweeps);
    std::ranges::sort(sweepCpu);
    std::ranges::sort(ticks);
    state.counters["sweep_median_us"] = sweeps[sweeps.size() / 2];
    state.counters["sweep_max_us"] = sweeps.back();
    // The wall clock also counts the moments the main thread waited for a core; this is its own work.
    state.counters["sweep_cpu_max_us"] = sweepCpu.back();
    state.counters["tick_median_us"] = ticks[ticks.size() / 2];
    state.counters["tick_max_us"] = ticks.back();
    // Proof that the figures were real: each workspace measured on its own process.
    state.counters["workspaces_measured"]
        = static_cast<double>(world.resources.perWorkspaceMB().get().size());
    state.counters["pages_MB"] = world.resources.pagesMB().get();
    window.unset_child();
}
BENCHMARK(BM_SweepAndTickTenLoadedWorkspaces)->UseManualTime()->Iterations(30)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace cohortex::bench

int main(int argc, char** argv)
{
    cohortex::preferCairoWithoutGraphicsDevice();
    gtk_init();
    Gtk::init_gtkmm_internals();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
