#include "E2eTest.h"

#include <fstream>
#include <set>

namespace cohortex {

using DownloadTest = CohortexE2eTest;

// A second download of the same name must not replace the first: it is numbered instead.
TEST_F(DownloadTest, sameFileTwiceLandsInTheWorkspacesFolderAsNameAndNumberedName)
{
    const auto folder = m_home.path() / "Solo downloads";
    std::filesystem::create_directories(folder);
    auto solo = makeWorkspace("Solo", m_server.url("/home"), 1);
    solo.downloadFolderPath = folder.string();
    profile().storeWorkspaces(std::vector{ solo });
    auto downloaded = [&](const char* name) {
        return waitFor([&] {
            std::ifstream stream(folder / name, std::ios::binary);
            return std::string(std::istreambuf_iterator<char>(stream), {})
                == TestHttpServer::attachmentBody();
        });
    };

    launch();
    ASSERT_TRUE(waitForRequests("/home"));
    const auto link = m_server.urlDownloading("/report", "report.pdf");
    ASSERT_TRUE(runSecond({ link }).succeeded());
    ASSERT_TRUE(downloaded("report.pdf"));
    ASSERT_TRUE(runSecond({ link }).succeeded());
    ASSERT_TRUE(downloaded("report (1).pdf"));
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{ "report.pdf", "report (1).pdf" }));
    auto outcome = quit();
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

} // namespace cohortex
