#include "Models/WorkspaceImport.h"

#include <fcntl.h>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cohortex {
namespace {

namespace fs = std::filesystem;

WorkspaceBundle::Item item(std::string name, std::string url)
{
    return { std::move(name), std::move(url), "globe", "#007AFF", std::nullopt, std::nullopt };
}

WorkspaceBundle bundleWith(std::size_t count)
{
    WorkspaceBundle bundle{ 1, Date::fromUnixTime(1714564800), {}, {} };
    for (std::size_t index = 0; index < count; ++index)
        bundle.workspaces.push_back(item("Workspace " + std::to_string(index + 1), "https://example.com/"));
    return bundle;
}

std::optional<ImportError> failureOf(const fs::path& path)
{
    auto bundle = previewImport(path);
    return bundle ? std::nullopt : std::optional(bundle.error());
}

class WorkspaceImportTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(m_directory); }
    void TearDown() override { fs::remove_all(m_directory); }

    fs::path write(std::string_view name, std::string_view contents)
    {
        auto path = m_directory / name;
        std::ofstream(path, std::ios::binary)
            .write(contents.data(), static_cast<std::streamsize>(contents.size()));
        return path;
    }

    // A valid bundle padded with trailing blanks (which JSON allows) to exactly `size` bytes.
    fs::path writeBundleOfSize(std::size_t size)
    {
        auto text = bundleWith(1).encoded();
        text.resize(size, ' ');
        return write("sized.cohortex", text);
    }

    // Per test: ctest runs the tests of this binary side by side.
    fs::path m_directory = fs::path(testing::TempDir()) / ("cohortex-import-" + std::to_string(::getpid()));
};

TEST_F(WorkspaceImportTest, ReadsOneToFiftyWorkspacesUpToTheLargestAllowedSize)
{
    auto bundle = previewImport(writeBundleOfSize(999'999));
    ASSERT_TRUE(bundle);
    EXPECT_EQ(*bundle, bundleWith(1));
    EXPECT_EQ(failureOf(writeBundleOfSize(1'000'000)), ImportError::TooLarge);

    for (auto [count, isAccepted] : { std::pair<std::size_t, bool>{ 0, false }, { 50, true }, { 51, false } })
        EXPECT_EQ(failureOf(write("count.cohortex", bundleWith(count).encoded())),
            isAccepted ? std::nullopt : std::optional(ImportError::Empty))
            << count;
}

// A pipe nobody writes to would block the reader for ever (and, in the running application, its main
// loop); a device never ends. Only regular files are read, and refusing the others does not wait.
TEST_F(WorkspaceImportTest, AnythingButARegularFileOrABundleIsUnreadableAndRefusedAtOnce)
{
    auto pipe = m_directory / "pipe.cohortex";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const auto& path : { pipe, fs::path("/dev/zero"), m_directory }) {
        auto reading = std::async(std::launch::async, [path] { return failureOf(path); });
        bool returned = reading.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
        if (!returned) {
            // Lets a reader stuck on the pipe go, so the test ends with its failure.
            ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
            ::close(::open(pipe.c_str(), O_WRONLY));
        }
        ASSERT_TRUE(returned) << path << " blocked the reader";
        EXPECT_EQ(reading.get(), ImportError::Unreadable) << path;
    }
    EXPECT_EQ(failureOf(m_directory / "missing.cohortex"), ImportError::Unreadable);
    auto text = bundleWith(1).encoded();
    EXPECT_EQ(failureOf(write("cut.cohortex", text.substr(0, text.size() / 2))), ImportError::Unreadable);
}

// Names and addresses come from someone else's file: each stays on its one line of the list.
TEST(ImportTextsTest, EachLineShowsTheHostOrElseTheURLTextOnOneLine)
{
    // clang-format off
    for (auto [name, url, line] : {
             std::tuple{ "Mail", "https://user@Mail.Example.com:8443/inbox", "• Mail — Mail.Example.com" },
             { "Broken", "not a url", "• Broken — not a url" },
             { "Two\n• Bank", "https://evil.example/", "• Two • Bank — evil.example" },
             { "Right\u202Eto left", "https://a%0Ab.example/", "• Right to left — a b.example" } }) {
        // clang-format on
        auto details = importConfirmationDetails(WorkspaceBundle{ 1, Date(0), { item(name, url) }, {} });
        EXPECT_EQ(details.substr(0, details.find("\n\n")), line);
    }
}

} // namespace
} // namespace cohortex
