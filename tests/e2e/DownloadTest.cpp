#include "E2eTest.h"

#include <fstream>

namespace cohortex {

using DownloadTest = CohortexE2eTest;

// How a name already taken is numbered is proven below the program; here, that the workspace's own folder
// reaches the engine.
TEST_F(DownloadTest, aLinkHandedOverDownloadsIntoTheWorkspacesFolder)
{
    const auto folder = m_home.path() / "Solo downloads";
    std::filesystem::create_directories(folder);
    auto solo = makeWorkspace("Solo", m_server.url("/home"), 1);
    solo.downloadFolderPath = folder.string();
    profile().storeWorkspaces(std::vector{ solo });

    launch();
    ASSERT_TRUE(waitForRequests("/home"));
    ASSERT_TRUE(runSecond({ m_server.urlDownloading("/report", "report.pdf") }).succeeded());
    EXPECT_TRUE(waitFor([&] {
        std::ifstream stream(folder / "report.pdf", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(stream), {}) == TestHttpServer::attachmentBody();
    }));
    auto outcome = quit();
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

} // namespace cohortex
