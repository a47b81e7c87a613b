#include "BrowserUnderTest.h"
#include "Services/StoredKeys.h"
#include "e2e/Profile.h"
#include "integration/Engine/MainLoop.h"

#include <csignal>
#include <unistd.h>
#include <vector>

namespace cohortex {

namespace {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds loadTimeout = 60s;

bool waitForRequests(TestHttpServer& server, const std::string& path, std::size_t count)
{
    return runUntil([&] { return server.requestsFor(path).size() >= count; }, loadTimeout);
}

// Paths unique to one launch, so that requests of an earlier run never count for a later one.
std::string countedPath(const char* prefix, int launch, int index)
{
    return std::string(prefix) + std::to_string(launch) + "-" + std::to_string(index);
}

int nextLaunch()
{
    static int s_launches = 0;
    return ++s_launches;
}

// Either with views that are never drawn but the first, or with every view shown once as a user who
// looks at each workspace does: the engine keeps what it needed to draw a view after it was hidden.
class BareWebKit final : public BrowserUnderTest {
public:
    BareWebKit(std::filesystem::path binary, bool showEach)
        : m_binary(std::move(binary))
        , m_showEach(showEach)
    {
    }

    std::string name() const override { return m_showEach ? "bare-shown" : "bare-webkit"; }
    std::string pagesPerView() const override
    {
        return m_showEach ? "bare-shown: bare-webkit --show-each, every view shown once, then the first again"
                          : "bare-webkit: one page per view, only the first ever shown";
    }

    std::unique_ptr<LaunchedProgram> launch(
        const TemporaryHome& home, const TestHttpServer& server, const std::string& path) override
    {
        return start(home, { server.url(path) });
    }

    std::unique_ptr<LaunchedProgram> launchLoaded(
        const TemporaryHome& home, TestHttpServer& server, int count, LoadPurpose) override
    {
        const auto path = countedPath("/bare-views-", nextLaunch(), count);
        std::vector<std::string> arguments{ "--views", std::to_string(count), server.url(path) };
        if (m_showEach)
            arguments.insert(arguments.begin(), "--show-each");
        auto program = start(home, std::move(arguments));
        if (!waitForRequests(server, path, static_cast<std::size_t>(count)))
            return nullptr;
        // It shows one view every 0.7 s after starting, then the first again.
        if (m_showEach)
            runFor(std::chrono::milliseconds(700) * (count + 1));
        return program;
    }

    bool hibernateHidden(LaunchedProgram& program) override
    {
        program.signal(SIGUSR1);
        return true;
    }

private:
    std::unique_ptr<LaunchedProgram> start(const TemporaryHome& home, std::vector<std::string> arguments)
    {
        // Persistent stores like Cohortex's, rather than the ephemeral ones bare-webkit uses by default.
        arguments.insert(
            arguments.begin(), { m_binary.string(), "--data", (home.dataDirectory() / "bare").string() });
        return std::make_unique<LaunchedProgram>(arguments, home.environment(), home.path());
    }

    std::filesystem::path m_binary;
    bool m_showEach;
};

// Cohortex hibernates a background workspace once it has been idle for "sleepAfterMinutes" minutes, checked
// by the sweep every 30 seconds; no command asks for it from outside. For a hibernation run the benchmark
// stores one minute and waits for the sweeps that follow, which is slow but measures the real path. Runs
// that measure loaded workspaces keep the default, so that none falls asleep while the others load.
class Cohortex final : public BrowserUnderTest {
public:
    Cohortex(std::filesystem::path binary, std::chrono::seconds hibernationWait, CohortexLaunch kind)
        : m_binary(std::move(binary))
        , m_hibernationWait(hibernationWait)
        , m_kind(kind)
    {
    }

    std::string name() const override
    {
        switch (m_kind) {
        case CohortexLaunch::StartPage:
            return "cohortex";
        case CohortexLaunch::Link:
            return "cohortex-url";
        case CohortexLaunch::LinkAmongTen:
            return "url-among-10";
        }
        return "cohortex";
    }
    bool measuresMemory() const override { return m_kind == CohortexLaunch::StartPage; }
    std::string pagesPerView() const override
    {
        if (m_kind == CohortexLaunch::Link)
            return "cohortex-url: `cohortex URL` on an empty profile, timed to the link's request";
        if (m_kind == CohortexLaunch::LinkAmongTen)
            return "url-among-10: `cohortex URL` on a profile of ten workspaces with start pages, timed to "
                   "the "
                   "link's request";
        return "cohortex: each workspace shows its start page (one tab), the further ones opened by "
               "`cohortex --workspace NAME`";
    }

    std::unique_ptr<LaunchedProgram> launch(
        const TemporaryHome& home, const TestHttpServer& server, const std::string& path) override
    {
        if (m_kind == CohortexLaunch::StartPage) {
            Profile(home.defaultsFile())
                .storeWorkspaces(std::vector{ makeWorkspace("Launch", server.url(path), 1) });
            return start(home, {});
        }
        // A link handed over by another program while Cohortex is not running. Among ten workspaces,
        // each has a start page of its own that the link must not wait for.
        if (m_kind == CohortexLaunch::LinkAmongTen) {
            std::vector<WorkspaceSession> workspaces;
            for (int index = 1; index <= 10; ++index)
                workspaces.push_back(makeWorkspace("W" + std::to_string(index),
                    server.url(path + "-start-" + std::to_string(index)), index));
            Profile(home.defaultsFile()).storeWorkspaces(workspaces);
        }
        return start(home, { server.url(path) });
    }

    std::unique_ptr<LaunchedProgram> launchLoaded(
        const TemporaryHome& home, TestHttpServer& server, int count, LoadPurpose purpose) override
    {
        const int run = nextLaunch();
        std::vector<WorkspaceSession> workspaces;
        for (int index = 1; index <= count; ++index)
            workspaces.push_back(makeWorkspace(
                "W" + std::to_string(index), server.url(countedPath("/cohortex-start-", run, index)), index));
        Profile profile(home.defaultsFile());
        profile.storeWorkspaces(workspaces);
        if (purpose == LoadPurpose::Hibernate)
            profile.storeInteger(keys::sleepAfterMinutes, 1);
        auto program = start(home, {});
        if (!waitForRequests(server, countedPath("/cohortex-start-", run, 1), 1))
            return nullptr;
        for (int index = 2; index <= count; ++index) {
            auto handedOver = LaunchedProgram::run(command({ "--workspace", "W" + std::to_string(index) }),
                home.environment(), home.path(), 15s);
            if (!handedOver.succeeded())
                return nullptr;
            if (!waitForRequests(server, countedPath("/cohortex-start-", run, index), 1))
                return nullptr;
        }
        return program;
    }

    bool hibernateHidden(LaunchedProgram&) override
    {
        runFor(m_hibernationWait);
        return true;
    }

private:
    std::vector<std::string> command(std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.begin(), m_binary.string());
        return arguments;
    }

    std::unique_ptr<LaunchedProgram> start(const TemporaryHome& home, std::vector<std::string> arguments)
    {
        return std::make_unique<LaunchedProgram>(
            command(std::move(arguments)), home.environment(), home.path());
    }

    std::filesystem::path m_binary;
    std::chrono::seconds m_hibernationWait;
    CohortexLaunch m_kind;
};

// On a fresh profile, without the first-run page and the default-browser question, which would stand
// between the start and the page. As root (on a build machine) Chromium only starts without its sandbox.
class Chromium final : public BrowserUnderTest {
public:
    explicit Chromium(std::filesystem::path binary)
        : m_binary(std::move(binary))
    {
    }

    std::string name() const override { return "chromium"; }
    std::string pagesPerView() const override
    {
        return std::string("chromium: `chromium URL` on a fresh profile")
            + (::geteuid() == 0 ? ", without its sandbox (run as root)" : "");
    }
    bool measuresMemory() const override { return false; }

    std::unique_ptr<LaunchedProgram> launch(
        const TemporaryHome& home, const TestHttpServer& server, const std::string& path) override
    {
        std::vector<std::string> arguments{ m_binary.string(),
            "--user-data-dir=" + (home.path() / "chromium").string(), "--no-first-run",
            "--no-default-browser-check" };
        if (::geteuid() == 0)
            arguments.push_back("--no-sandbox");
        arguments.push_back(server.url(path));
        return std::make_unique<LaunchedProgram>(arguments, home.environment(), home.path());
    }

    std::unique_ptr<LaunchedProgram> launchLoaded(
        const TemporaryHome&, TestHttpServer&, int, LoadPurpose) override
    {
        return nullptr;
    }
    bool hibernateHidden(LaunchedProgram&) override { return false; }

private:
    std::filesystem::path m_binary;
};

} // namespace

std::unique_ptr<BrowserUnderTest> makeBareWebKit(std::filesystem::path binary, bool showEach)
{
    return std::make_unique<BareWebKit>(std::move(binary), showEach);
}

std::unique_ptr<BrowserUnderTest> makeCohortex(
    std::filesystem::path binary, std::chrono::seconds hibernationWait, CohortexLaunch kind)
{
    return std::make_unique<Cohortex>(std::move(binary), hibernationWait, kind);
}

std::unique_ptr<BrowserUnderTest> makeChromium(std::filesystem::path binary)
{
    return std::make_unique<Chromium>(std::move(binary));
}

} // namespace cohortex
