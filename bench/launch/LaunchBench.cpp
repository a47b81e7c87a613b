// Launch time and memory of Cohortex next to a bare WebKitGTK browser, measured side by side in one run so
// that both see the same machine, load and caches. Both run on a private session bus with its own keyring
// and X server, as the end-to-end tests do; Cohortex needs the bus for its single instance and the keyring
// for saved logins:
//
//   dbus-run-session -- tests/integration/with-keyring xvfb-run -a -s "-screen 0 1280x1024x24"
//       build/bench/cohortex_launch_bench [options]
//
// (one command line, from the source tree's root).
//
// Options: --runs N (launches per program, default 5), --views 1,5,10 (loaded views or workspaces),
// --hibernation-wait SECONDS (default 100), --bare PATH, --cohortex PATH, --chromium PATH (default
// /usr/bin/chromium, left out when missing), --bare-only.
//
// Launch is the time from starting the process to the test server receiving its first page request, and to
// the page's load event (its script requests a second path then),
// alternating between the programs, each start on an empty profile (Cohortex: one stored workspace; and
// `cohortex URL` as another program hands a link over, on an empty profile and on one of ten workspaces,
// timed to the link's own request). A row gives each figure as a multiple of bare-webkit's. Memory
// is the sum of Pss over the process and all its descendants (WebKit's web and network processes), once all
// views are loaded and, in a second launch, after every view but the shown one was released (bare-webkit:
// SIGUSR1; Cohortex: its own hibernation, see Browsers.cpp). bare-webkit runs twice: with its hidden views
// never drawn, and with each view shown once (bare-shown), which is how Cohortex's workspaces come to be
// loaded. Without a cohortex binary only bare-webkit is measured.
#include "BrowserUnderTest.h"
#include "MemoryFigures.h"
#include "Platform/Linux/SoftwareRendering.h"
#include "e2e/ProcessTree.h"
#include "integration/Engine/MainLoop.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>

namespace cohortex {

namespace {

using namespace std::chrono_literals;

struct Options {
    int runs{ 5 };
    std::vector<int> viewCounts{ 1, 5, 10 };
    std::chrono::seconds hibernationWait{ 100 };
    std::filesystem::path bare{ COHORTEX_BARE_WEBKIT_PATH };
    std::filesystem::path cohortex{ COHORTEX_BINARY_PATH };
    // Chromium as Debian installs it; the column is left out when it is not there.
    std::filesystem::path chromium{ "/usr/bin/chromium" };
};

std::vector<int> parseCounts(const std::string& text)
{
    std::vector<int> counts;
    std::istringstream stream(text);
    for (std::string item; std::getline(stream, item, ',');)
        counts.push_back(std::max(1, std::atoi(item.c_str())));
    return counts;
}

Options parseOptions(int argc, char** argv)
{
    Options options;
    for (int index = 1; index < argc; ++index) {
        std::string option = argv[index];
        const char* value = index + 1 < argc ? argv[index + 1] : "";
        if (option == "--bare-only") {
            options.cohortex.clear();
            continue;
        }
        ++index;
        if (option == "--runs")
            options.runs = std::max(1, std::atoi(value));
        else if (option == "--views")
            options.viewCounts = parseCounts(value);
        else if (option == "--hibernation-wait")
            options.hibernationWait = std::chrono::seconds(std::atoi(value));
        else if (option == "--bare")
            options.bare = value;
        else if (option == "--cohortex")
            options.cohortex = value;
        else if (option == "--chromium")
            options.chromium = value;
        else
            throw std::invalid_argument("Unknown option " + option);
    }
    return options;
}

// Ends a run and waits for its whole tree, so that no process of one run is measured in the next.
void finish(std::unique_ptr<LaunchedProgram>& program)
{
    if (!program)
        return;
    auto tree = processTree(program->pid());
    auto outcome = program->terminate(20s);
    if (!outcome.hasEnded)
        std::cerr << "A program did not quit within 20 s and is killed\n";
    program.reset();
    if (!waitUntilGone(tree, 10s))
        std::cerr << "Processes of an ended run are still there\n";
}

struct LaunchTimes {
    double requestMs{ -1 };
    double loadedMs{ -1 };
};

// Milliseconds from the start of the process to the first request for the path and to its page's load
// event, which the page's script reports by requesting a second path; negative on timeout.
LaunchTimes launchMilliseconds(BrowserUnderTest& browser, TestHttpServer& server, const std::string& path)
{
    const auto loadedPath = path + "-loaded";
    server.urlServing(path,
        "<!doctype html><title>Launch</title><p>A page</p><script>addEventListener('load', () => fetch('"
            + loadedPath + "'))</script>");
    TemporaryHome home;
    auto started = std::chrono::steady_clock::now();
    auto since = [&] {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    };
    auto program = browser.launch(home, server, path);
    LaunchTimes times;
    if (runUntil([&] { return !server.requestsFor(path).empty(); }, 60s))
        times.requestMs = since();
    if (runUntil([&] { return !server.requestsFor(loadedPath).empty(); }, 60s))
        times.loadedMs = since();
    finish(program);
    return times;
}

// Pss of the settled tree: a median of a few samples, since WebKit frees and collects for a while.
double settledPssMB(pid_t root)
{
    std::vector<double> samples;
    for (int sample = 0; sample < 3; ++sample) {
        runFor(1s);
        samples.push_back(processTreePssMB(root));
    }
    return median(samples).value_or(0);
}

// The loaded figure and the released one come from two launches: a browser that releases idle views by
// itself may be set up differently for each (see Browsers.cpp).
std::optional<double> measureMemory(
    BrowserUnderTest& browser, TestHttpServer& server, int count, LoadPurpose purpose)
{
    TemporaryHome home;
    auto program = browser.launchLoaded(home, server, count, purpose);
    if (!program) {
        std::cerr << browser.name() << ": " << count << " views did not load in time\n";
        return std::nullopt;
    }
    runFor(2s);
    std::optional<double> figure;
    if (purpose == LoadPurpose::Measure || browser.hibernateHidden(*program))
        figure = settledPssMB(program->pid());
    finish(program);
    return figure;
}

MemoryRow measureMemory(BrowserUnderTest& browser, TestHttpServer& server, int count)
{
    MemoryRow row;
    row.loadedMB = measureMemory(browser, server, count, LoadPurpose::Measure);
    if (count > 1)
        row.hibernatedMB = measureMemory(browser, server, count, LoadPurpose::Hibernate);
    return row;
}

std::vector<std::unique_ptr<BrowserUnderTest>> browsers(const Options& options)
{
    std::vector<std::unique_ptr<BrowserUnderTest>> result;
    result.push_back(makeBareWebKit(options.bare, false));
    result.push_back(makeBareWebKit(options.bare, true));
    if (!options.cohortex.empty()) {
        for (auto kind : { CohortexLaunch::StartPage, CohortexLaunch::Link, CohortexLaunch::LinkAmongTen })
            result.push_back(makeCohortex(options.cohortex, options.hibernationWait, kind));
    }
    std::error_code error;
    if (!options.chromium.empty() && std::filesystem::exists(options.chromium, error))
        result.push_back(makeChromium(options.chromium));
    return result;
}

int run(const Options& options)
{
    // Cohortex picks GTK's renderer by the machine; the bare program, left alone, would draw with OpenGL
    // even where that is Mesa's software rasteriser, and pay for starting it. Both inherit the choice.
    preferCairoWithoutGraphicsDevice();
    TestHttpServer server;
    auto measured = browsers(options);
    std::vector<BrowserFigures> figures(measured.size());
    // One unmeasured start each, so that neither pays alone for loading its libraries from disk.
    for (auto& browser : measured)
        launchMilliseconds(*browser, server, "/warm-up-" + browser->name());
    for (int run = 0; run < options.runs; ++run) {
        for (std::size_t index = 0; index < measured.size(); ++index) {
            auto path = "/launch-" + measured[index]->name() + "-" + std::to_string(run);
            auto times = launchMilliseconds(*measured[index], server, path);
            figures[index].launchMs.push_back(times.requestMs);
            figures[index].loadedMs.push_back(times.loadedMs);
        }
    }
    for (int count : options.viewCounts) {
        for (std::size_t index = 0; index < measured.size(); ++index) {
            if (measured[index]->measuresMemory())
                figures[index].memory[count] = measureMemory(*measured[index], server, count);
        }
    }
    std::vector<std::string> notes;
    for (std::size_t index = 0; index < measured.size(); ++index) {
        figures[index].name = measured[index]->name();
        notes.push_back(measured[index]->pagesPerView());
    }
    const char* renderer = std::getenv("GSK_RENDERER");
    notes.push_back(
        std::string("every program draws with GSK_RENDERER=") + (renderer ? renderer : "(GTK's choice)"));
    printFigures(std::cout, figures, options.runs, notes);
    return 0;
}

} // namespace

} // namespace cohortex

int main(int argc, char** argv)
{
    try {
        return cohortex::run(cohortex::parseOptions(argc, argv));
    } catch (const std::exception& error) {
        std::cerr << "cohortex_launch_bench: " << error.what() << '\n';
        return 2;
    }
}
