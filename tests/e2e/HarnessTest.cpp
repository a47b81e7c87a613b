#include "E2eTest.h"
#include "Platform/Linux/ProcMemory.h"
#include "ProcessTree.h"
#include "Screenshot.h"
#include "Services/StoredKeys.h"
#include "integration/Engine/MainLoop.h"

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <gmock/gmock.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace cohortex {

using ::testing::HasSubstr;

// The harness itself, checked against bare-webkit (BARE_WEBKIT_BINARY), a real WebKitGTK browser, so that
// a failing end-to-end test points at Cohortex and not at the way it was started, fed or measured.
class HarnessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* binary = std::getenv("BARE_WEBKIT_BINARY");
        if (!binary || !*binary)
            GTEST_SKIP() << "BARE_WEBKIT_BINARY names no browser";
        m_bare = binary;
    }

    std::vector<std::string> shell(const std::string& script) const { return { "/bin/sh", "-c", script }; }

    std::string m_bare;
    TemporaryHome m_home;
    TestHttpServer m_server;
};

TEST_F(HarnessTest, browserRunsInTheTemporaryHomeAndSigtermEndsItsWholeProcessTree)
{
    LaunchedProgram browser({ m_bare, "--views", "2", "--data", (m_home.dataDirectory() / "bare").string(),
                                m_server.url("/harness-home") },
        m_home.environment(), m_home.path());
    ASSERT_TRUE(runUntil([&] { return m_server.requestsFor("/harness-home").size() == 2; }, launchTimeout))
        << browser.errors();
    std::ifstream environment("/proc/" + std::to_string(browser.pid()) + "/environ", std::ios::binary);
    std::string variables((std::istreambuf_iterator<char>(environment)), std::istreambuf_iterator<char>());
    EXPECT_THAT(variables, HasSubstr(std::string("XDG_DATA_HOME=") + m_home.dataDirectory().string() + '\0'));

    runFor(1s);
    auto tree = processTree(browser.pid());
    EXPECT_GE(tree.size(), 3u) << "WebKit's web and network processes were not found below the browser";
    auto own = ProcMemory().footprintMB(browser.pid());
    ASSERT_TRUE(own);
    EXPECT_GT(processTreePssMB(browser.pid()), *own);

    // Kept in the build tree, where it shows what the X server held when a later test fails.
    const char* outputDirectory = std::getenv("COHORTEX_E2E_OUTPUT_DIR");
    const auto screenshot
        = (outputDirectory && *outputDirectory ? std::filesystem::path(outputDirectory) : m_home.path())
        / "e2e-harness-bare-webkit.png";
    ASSERT_TRUE(saveScreenshot(screenshot));
    std::ifstream png(screenshot, std::ios::binary);
    char signature[4] = {};
    png.read(signature, 4);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");

    auto outcome = browser.terminate(quitTimeout);
    ASSERT_TRUE(outcome.hasEnded);
    // bare-webkit does not catch SIGTERM; Cohortex does and exits with status 0.
    EXPECT_EQ(outcome.signal, SIGTERM);
    EXPECT_TRUE(waitUntilGone(tree, 10s)) << "Processes of the browser outlived it";
}

TEST_F(HarnessTest, hiddenViewsReleasedOnRequestLeaveFewerProcesses)
{
    LaunchedProgram browser(
        { m_bare, "--views", "3", m_server.url("/views") }, m_home.environment(), m_home.path());
    ASSERT_TRUE(runUntil([&] { return m_server.requestsFor("/views").size() == 3; }, launchTimeout));
    runFor(1s);
    auto loaded = processTree(browser.pid()).size();
    browser.signal(SIGUSR1);
    EXPECT_TRUE(runUntil([&] { return processTree(browser.pid()).size() < loaded; }, 10s))
        << "The hidden views' web processes are still there";
    browser.terminate(quitTimeout);
}

TEST_F(HarnessTest, shortProgramReportsItsStatusOutputAndTheHomesEnvironment)
{
    auto usage
        = LaunchedProgram::run({ m_bare, "--views", "0", "x" }, m_home.environment(), m_home.path(), 10s);
    EXPECT_TRUE(usage.hasEnded && usage.exitedNormally);
    EXPECT_EQ(usage.exitStatus, 2);
    EXPECT_THAT(usage.errors, HasSubstr("usage: bare-webkit"));

    auto printed = LaunchedProgram::run(shell("echo $HOME $XDG_CONFIG_HOME $XDG_DATA_HOME $XDG_CACHE_HOME"),
        m_home.environment({ "EXTRA=1" }), m_home.path(), 10s);
    ASSERT_TRUE(printed.succeeded()) << printed.describe();
    EXPECT_EQ(printed.output,
        m_home.path().string() + " " + m_home.configDirectory().string() + " "
            + m_home.dataDirectory().string() + " " + m_home.cacheDirectory().string() + "\n");
}

TEST_F(HarnessTest, programOutlivingItsLimitIsReportedAsStillRunning)
{
    auto outcome = LaunchedProgram::run(shell("sleep 30"), m_home.environment(), m_home.path(), 300ms);
    EXPECT_FALSE(outcome.hasEnded);
    EXPECT_FALSE(outcome.succeeded());
}

TEST(ProfileTest, seededStateReadsBackWhileAndAfterTheFileIsInUse)
{
    TemporaryHome home;
    Profile profile(home.defaultsFile());
    EXPECT_FALSE(profile.peekWorkspaces()) << "A missing file must read as nothing, not be created";
    EXPECT_FALSE(std::filesystem::exists(home.defaultsFile()));

    auto alpha = makeWorkspace("Alpha", "http://127.0.0.1:1/a", 1);
    auto beta = makeWorkspace("Beta", "http://localhost:1/b", 2);
    profile.storeWorkspaces(std::vector{ alpha, beta });
    profile.storeRules(std::vector{ makeRule("localhost", beta) });
    profile.storeInteger(keys::sleepAfterMinutes, 1);

    EXPECT_EQ(profile.workspaces(), (std::vector{ alpha, beta }));
    EXPECT_EQ(profile.peekWorkspaces(), (std::vector{ alpha, beta }));
    ASSERT_TRUE(profile.rules());
    EXPECT_EQ(profile.rules()->front().workspaceId, beta.id);
    EXPECT_FALSE(profile.openTabs());
    EXPECT_FALSE(profile.ledger());
}

TEST(TemporaryHomeTest, removesEverythingItHeld)
{
    std::filesystem::path path;
    {
        TemporaryHome home;
        path = home.path();
        Profile(home.defaultsFile()).storeInteger(keys::sleepAfterMinutes, 5);
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ProcessTreeTest, processorTimeAddsUpTheDescendantsWork)
{
    using namespace std::chrono_literals;
    const auto before = processTreeCpuTime(getpid());
    pid_t child = fork();
    if (child == 0) {
        const auto end = std::clock() + CLOCKS_PER_SEC * 3 / 10;
        while (std::clock() < end) { }
        pause();
        _exit(0);
    }
    ASSERT_GT(child, 0);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (processTreeCpuTime(child) < 250ms && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    EXPECT_GE(processTreeCpuTime(child), 250ms);
    EXPECT_LT(processTreeCpuTime(child), 2s);
    EXPECT_GE(processTreeCpuTime(getpid()) - before, 250ms);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

} // namespace cohortex
