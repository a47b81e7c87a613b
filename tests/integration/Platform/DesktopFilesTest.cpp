#include "Platform/Linux/GLibPtr.h"
#include "TemporaryDirectory.h"

#include <filesystem>
#include <glib.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace cohortex {
namespace {

namespace fs = std::filesystem;

const fs::path dataDirectory = fs::path(__FILE__).parent_path() / "../../../data";

// Runs a desktop tool; its standard error when it fails, nothing when it succeeds.
std::optional<std::string> run(std::vector<std::string> arguments)
{
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    char* errors = nullptr;
    int status = 0;
    bool ran = g_spawn_sync(nullptr, argv.data(), nullptr,
        static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL), nullptr, nullptr, nullptr,
        &errors, &status, nullptr);
    GCharPtr owned(errors);
    if (ran && g_spawn_check_wait_status(status, nullptr))
        return std::nullopt;
    return ran ? std::string(owned ? owned.get() : "") : arguments[0] + " did not run";
}

void requireProgram(const char* name, const char* package)
{
    GCharPtr program(g_find_program_in_path(name));
    if (!program)
        GTEST_SKIP() << name << " is not installed (" << package << ")";
}

std::string contents(const fs::path& file)
{
    auto bytes = readFile(file);
    return { bytes.begin(), bytes.end() };
}

// A desktop file with an error is left out of menus and of the list of browsers, silently.
TEST(DesktopFilesTest, TheDesktopFileIsValid)
{
    requireProgram("desktop-file-validate", "desktop-file-utils");
    EXPECT_EQ(run({ "desktop-file-validate", (dataDirectory / "com.kestrelwick.Cohortex.desktop").string() }),
        std::nullopt);
}

// The MIME database built from our package alone names *.cohortex files and knows they are JSON.
TEST(DesktopFilesTest, TheMimeTypeNamesBundleFilesAsJson)
{
    requireProgram("update-mime-database", "shared-mime-info");
    TemporaryDirectory database;
    fs::create_directories(database.path() / "packages");
    fs::copy_file(dataDirectory / "com.kestrelwick.Cohortex.mime.xml",
        database.path() / "packages" / "com.kestrelwick.Cohortex.xml");
    ASSERT_EQ(run({ "update-mime-database", database.path().string() }), std::nullopt);

    EXPECT_NE(contents(database.path() / "globs2").find("application/x-cohortex-bundle:*.cohortex\n"),
        std::string::npos);
    EXPECT_NE(
        contents(database.path() / "subclasses").find("application/x-cohortex-bundle application/json\n"),
        std::string::npos);
    EXPECT_NE(contents(database.path() / "application" / "x-cohortex-bundle.xml")
                  .find("<comment>Cohortex workspace layout</comment>"),
        std::string::npos);
}

} // namespace
} // namespace cohortex
