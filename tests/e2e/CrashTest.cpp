#include "E2eTest.h"
#include "ProcessTree.h"
#include "integration/Engine/MainLoop.h"

#include <csignal>
#include <memory>
#include <set>
#include <sqlite3.h>

namespace cohortex {

namespace {

std::string integrityOf(const std::filesystem::path& file)
{
    sqlite3* database = nullptr;
    std::string answer = "cannot open";
    if (sqlite3_open_v2(file.c_str(), &database, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(database, "PRAGMA integrity_check", -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            answer = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        sqlite3_finalize(statement);
    }
    sqlite3_close(database);
    return answer;
}

} // namespace

// The power goes, the session is killed, the machine runs out of memory: SIGKILL at any moment of a write
// must leave a database that opens sound, with everything the application reported as done.
using CrashTest = CohortexE2eTest;

TEST_F(CrashTest, aKillDuringWritesLeavesASoundDatabaseWithEveryReportedImport)
{
    profile().storeWorkspaces(std::vector{ makeWorkspace("Home", m_server.url("/home"), 1) });
    std::set<std::string> reportedImports;
    auto startSecond = [&](const std::vector<std::string>& arguments) {
        return std::make_unique<LaunchedProgram>(command(arguments), m_home.environment(), m_home.path());
    };
    constexpr int runs = 8;
    for (int run = 0; run < runs; ++run) {
        auto requestsBefore = m_server.requestsFor("/home").size();
        launch();
        ASSERT_TRUE(waitForRequests("/home", requestsBefore + 1)) << "Run " << run << " did not start";
        auto tree = processTree(m_app->pid());

        auto name = "Imported" + std::to_string(run);
        std::vector<std::unique_ptr<LaunchedProgram>> writers;
        writers.push_back(startSecond(
            { "--import-layout", writeBundle(name, "/" + name, name + ".example").string(), "--yes" }));
        writers.push_back(startSecond({ m_server.url("/link-a" + std::to_string(run)),
            m_server.url("/link-b" + std::to_string(run)) }));
        writers.push_back(startSecond({ "--workspace", "Home", m_server.url("/tab" + std::to_string(run)) }));
        // Every other kill lands the moment the import is reported, while the links and tabs still write: an
        // import reported before it was stored is lost then, whatever the machine's speed.
        if (run % 2)
            runUntil([&] { return !writers.front()->isRunning(); }, secondInvocationTimeout);
        else
            runFor(std::chrono::milliseconds(40 * run));
        m_app->signal(SIGKILL);
        // A writer that has not handed over yet would start a Cohortex of its own: it goes too.
        for (auto& writer : writers) {
            auto writerTree = processTree(writer->pid());
            tree.insert(tree.end(), writerTree.begin(), writerTree.end());
            writer->signal(SIGKILL);
        }
        ASSERT_TRUE(m_app->waitForEnd(quitTimeout).hasEnded);
        m_app.reset();
        auto import = writers.front()->waitForEnd(secondInvocationTimeout);
        if (import.succeeded() && import.output.find("Imported 1 workspace") != std::string::npos)
            reportedImports.insert(name);
        writers.clear();
        waitUntilGone(tree, std::chrono::seconds(10));

        EXPECT_EQ(integrityOf(m_home.defaultsFile()), "ok") << "after run " << run;
        auto listed = profile().peekWorkspaces();
        ASSERT_TRUE(listed) << "The workspace list is unreadable after run " << run;
        for (const auto& imported : reportedImports)
            EXPECT_TRUE(std::ranges::any_of(
                *listed, [&](const auto& workspace) { return workspace.name == imported; }))
                << imported << ", reported imported, is gone after run " << run;
    }
    EXPECT_FALSE(reportedImports.empty()) << "No import finished before its kill: the test proves little";
}

} // namespace cohortex
