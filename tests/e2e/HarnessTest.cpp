#include "E2eTest.h"
#include "ProcessTree.h"
#include "integration/Engine/MainLoop.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gmock/gmock.h>

namespace cohortex {

using ::testing::HasSubstr;

// The harness itself, so that a failing or passing end-to-end test speaks of Cohortex and not of the way
// it was started, fed or read back.
TEST(HarnessTest, aBrowserRunsInTheTemporaryHomeAndSigtermEndsItsWholeProcessTree)
{
    // bare-webkit (BARE_WEBKIT_BINARY) is a real WebKitGTK browser that does not catch SIGTERM.
    const char* bare = std::getenv("BARE_WEBKIT_BINARY");
    if (!bare || !*bare)
        GTEST_SKIP() << "BARE_WEBKIT_BINARY names no browser";
    TemporaryHome home;
    TestHttpServer server;
    LaunchedProgram browser(
        { bare, "--views", "2", server.url("/harness-home") }, home.environment(), home.path());
    ASSERT_TRUE(runUntil([&] { return server.requestsFor("/harness-home").size() == 2; }, launchTimeout))
        << browser.errors();
    std::ifstream environment("/proc/" + std::to_string(browser.pid()) + "/environ", std::ios::binary);
    std::string variables((std::istreambuf_iterator<char>(environment)), std::istreambuf_iterator<char>());
    EXPECT_THAT(variables, HasSubstr(std::string("XDG_DATA_HOME=") + home.dataDirectory().string() + '\0'));

    runFor(1s);
    auto tree = processTree(browser.pid());
    EXPECT_GE(tree.size(), 3u) << "WebKit's web and network processes were not found below the browser";
    auto outcome = browser.terminate(quitTimeout);
    ASSERT_TRUE(outcome.hasEnded);
    EXPECT_EQ(outcome.signal, SIGTERM);
    EXPECT_FALSE(outcome.succeeded());
    EXPECT_TRUE(waitUntilGone(tree, 10s)) << "Processes of the browser outlived it";
}

TEST(HarnessTest, aShortProgramReportsItsStatusAndOutputAndOneOutlivingItsLimitIsStillRunning)
{
    TemporaryHome home;
    auto failed = LaunchedProgram::run(
        { "/bin/sh", "-c",
            "echo $HOME $XDG_CONFIG_HOME $XDG_DATA_HOME $XDG_CACHE_HOME $EXTRA; echo no >&2; exit 3" },
        home.environment({ "EXTRA=1" }), home.path(), 10s);
    EXPECT_TRUE(failed.hasEnded && failed.exitedNormally);
    EXPECT_EQ(failed.exitStatus, 3);
    EXPECT_FALSE(failed.succeeded());
    EXPECT_EQ(failed.errors, "no\n");
    EXPECT_EQ(failed.output,
        home.path().string() + " " + home.configDirectory().string() + " " + home.dataDirectory().string()
            + " " + home.cacheDirectory().string() + " 1\n");

    auto running
        = LaunchedProgram::run({ "/bin/sh", "-c", "sleep 30" }, home.environment(), home.path(), 300ms);
    EXPECT_FALSE(running.hasEnded);
    EXPECT_FALSE(running.succeeded());
}

TEST(HarnessTest, theProfileReadsBackWhatWasStoredAndAMissingFileAsNothing)
{
    TemporaryHome home;
    Profile profile(home.defaultsFile());
    EXPECT_FALSE(profile.peekWorkspaces()) << "A missing file must read as nothing, not be created";
    EXPECT_FALSE(std::filesystem::exists(home.defaultsFile()));

    auto alpha = makeWorkspace("Alpha", "http://127.0.0.1:1/a", 1);
    auto beta = makeWorkspace("Beta", "http://localhost:1/b", 2);
    profile.storeWorkspaces(std::vector{ alpha, beta });
    profile.storeRules(std::vector{ makeRule("localhost", beta) });
    EXPECT_EQ(profile.workspaces(), (std::vector{ alpha, beta }));
    EXPECT_EQ(profile.peekWorkspaces(), (std::vector{ alpha, beta }));
    ASSERT_TRUE(profile.rules());
    EXPECT_EQ(profile.rules()->front().workspaceId, beta.id);
    EXPECT_FALSE(profile.openTabs());
    EXPECT_FALSE(profile.ledger());
}

} // namespace cohortex
