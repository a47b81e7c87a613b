#include "E2eTest.h"

#include <fstream>
#include <gmock/gmock.h>
#include <set>

namespace cohortex {

namespace {

std::string contentsOf(const std::filesystem::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    return { std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>() };
}

std::set<std::string> namesIn(const std::filesystem::path& directory)
{
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error))
        names.insert(entry.path().filename().string());
    return names;
}

} // namespace

class DownloadTest : public CohortexE2eTest { };

// A second download of the same name must not replace the first: it is numbered instead.
TEST_F(DownloadTest, sameFileTwiceLandsInTheWorkspacesFolderAsNameAndNumberedName)
{
    const auto folder = m_home.path() / "Solo downloads";
    std::filesystem::create_directories(folder);
    auto solo = makeWorkspace("Solo", m_server.url("/home"), 1);
    solo.downloadFolderPath = folder.string();
    profile().storeWorkspaces(std::vector{ solo });
    const std::string expected(TestHttpServer::attachmentBody());
    auto downloaded
        = [&](const char* name) { return waitFor([&] { return contentsOf(folder / name) == expected; }); };

    launch();
    ASSERT_TRUE(waitForRequests("/home"));
    const auto link = m_server.urlDownloading("/report", "report.pdf");
    auto handedOver = runSecond({ link });
    ASSERT_TRUE(handedOver.succeeded()) << handedOver.describe();
    ASSERT_TRUE(downloaded("report.pdf")) << "Found: " << ::testing::PrintToString(namesIn(folder));
    handedOver = runSecond({ link });
    ASSERT_TRUE(handedOver.succeeded()) << handedOver.describe();
    ASSERT_TRUE(downloaded("report (1).pdf")) << "Found: " << ::testing::PrintToString(namesIn(folder));
    EXPECT_EQ(namesIn(folder), (std::set<std::string>{ "report.pdf", "report (1).pdf" }));

    auto outcome = quit();
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

} // namespace cohortex
