#include "RunProgram.h"
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

// The MIME database built from our package alone names *.cohortex files and knows they are JSON.
TEST(DesktopFilesTest, TheMimeTypeNamesBundleFilesAsJson)
{
    if (!hasProgram("update-mime-database"))
        GTEST_SKIP() << "update-mime-database is not installed (shared-mime-info)";
    TemporaryDirectory database;
    fs::create_directories(database.path() / "packages");
    fs::copy_file(dataDirectory / "com.kestrelwick.Cohortex.mime.xml",
        database.path() / "packages" / "com.kestrelwick.Cohortex.xml");
    auto result = runProgram({ "update-mime-database", database.path().string() });
    ASSERT_TRUE(result.succeeded) << result.errors;

    EXPECT_NE(contents(database.path() / "globs2").find("application/x-cohortex-bundle:*.cohortex\n"),
        std::string::npos);
    EXPECT_NE(
        contents(database.path() / "subclasses").find("application/x-cohortex-bundle application/json\n"),
        std::string::npos);
    EXPECT_NE(contents(database.path() / "application" / "x-cohortex-bundle.xml")
                  .find("<comment>Cohortex workspace layout</comment>"),
        std::string::npos);
}

// The software centre lists the application from its metainfo, which must name the installed desktop file
// and the icon that the desktop file names too. The tools distributions run check both files' syntax.
TEST(DesktopFilesTest, TheMetainfoAgreesWithTheDesktopFileAndIcon)
{
    auto text = contents(dataDirectory / "com.kestrelwick.Cohortex.metainfo.xml");
    EXPECT_NE(text.find("<launchable type=\"desktop-id\">com.kestrelwick.Cohortex.desktop</launchable>"),
        std::string::npos);
    EXPECT_NE(text.find("<binary>cohortex</binary>"), std::string::npos);
    auto desktop = contents(dataDirectory / "com.kestrelwick.Cohortex.desktop");
    EXPECT_NE(desktop.find("\nIcon=com.kestrelwick.Cohortex\n"), std::string::npos);
    EXPECT_NE(desktop.find("\nExec=cohortex %U\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(dataDirectory / "icons/hicolor/scalable/apps/com.kestrelwick.Cohortex.svg"));
}

} // namespace
} // namespace cohortex
