#include "Services/CommandLine.h"
#include "TemporaryDirectory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

namespace fs = std::filesystem;

const fs::path dataDirectory = fs::path(COHORTEX_SOURCE_DIR) / "data";

std::string contents(const fs::path& file)
{
    auto bytes = readFile(file);
    return { bytes.begin(), bytes.end() };
}

// A dock's right-click menu runs these: each must be a command line that hands a command to Cohortex.
TEST(DesktopFilesTest, EveryDesktopActionRunsACommand)
{
    auto text = contents(dataDirectory / "com.kestrelwick.Cohortex.desktop");
    std::size_t actions = 0;
    for (std::size_t at = text.find("[Desktop Action "); at != std::string::npos;
         at = text.find("[Desktop Action ", at + 1)) {
        auto exec = text.find("\nExec=cohortex ", at);
        ASSERT_NE(exec, std::string::npos);
        auto end = text.find('\n', exec + 1);
        std::vector<std::string> arguments{ text.substr(exec + 15, end - exec - 15) };
        auto parsed = parseCommandLine(arguments, "/");
        ASSERT_TRUE(parsed) << arguments.front() << ": " << parsed.error();
        EXPECT_EQ(parsed->action, CommandLineInvocation::Action::RunCommand) << arguments.front();
        ++actions;
    }
    EXPECT_EQ(actions, 4u);
}

} // namespace
} // namespace cohortex
