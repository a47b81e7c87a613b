#include "Platform/Linux/PolkitAuthenticator.h"
#include "RunProgram.h"
#include "Services/CommandLine.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

const std::filesystem::path dataDirectory = std::filesystem::path(COHORTEX_SOURCE_DIR) / "data";

// A dock's right-click menu runs these: each must be a command line that hands a command to Cohortex.
TEST(DataFilesTest, EveryDesktopActionRunsACommand)
{
    auto bytes = readFile(dataDirectory / "com.kestrelwick.Cohortex.desktop");
    std::string text(bytes.begin(), bytes.end());
    std::size_t actions = 0;
    for (auto at = text.find("[Desktop Action "); at != std::string::npos;
         at = text.find("[Desktop Action ", at + 1)) {
        auto exec = text.find("\nExec=cohortex ", at);
        ASSERT_NE(exec, std::string::npos);
        std::vector<std::string> arguments{ text.substr(exec + 15, text.find('\n', exec + 1) - exec - 15) };
        auto parsed = parseCommandLine(arguments, "/");
        ASSERT_TRUE(parsed) << arguments.front() << ": " << parsed.error();
        EXPECT_EQ(parsed->action, CommandLineInvocation::Action::RunCommand) << arguments.front();
        ++actions;
    }
    EXPECT_EQ(actions, 4u);
}

// polkitd skips a file it cannot parse, and the lock would then never be available. Asking for the
// user's own password everywhere: an administrator's password would keep the owner of an ordinary
// account out of their own workspaces, and "yes" would open them for anyone at the keyboard.
TEST(DataFilesTest, ThePolkitPolicyIsValidAndAsksForTheOwnersPasswordEverywhere)
{
    if (!hasProgram("xmllint"))
        GTEST_SKIP() << "xmllint is not installed (libxml2-utils)";
    const auto policy = (dataDirectory / "com.kestrelwick.cohortex.policy").string();
    constexpr auto documentType = "/usr/share/polkit-1/policyconfig-1.dtd";
    if (g_file_test(documentType, G_FILE_TEST_EXISTS)) {
        EXPECT_TRUE(
            runProgram({ "xmllint", "--nonet", "--noout", "--dtdvalid", documentType, policy }).succeeded);
    }
    auto valueAt = [&](const std::string& path) {
        return runProgram({ "xmllint", "--nonet", "--xpath", "string(" + path + ")", policy }).output;
    };
    EXPECT_EQ(valueAt("count(/policyconfig/action)"), "1\n");
    EXPECT_EQ(valueAt("/policyconfig/action/@id"), std::string(PolkitAuthenticator::actionId) + "\n");
    for (auto setting : { "allow_any", "allow_inactive", "allow_active" })
        EXPECT_EQ(valueAt(std::string("/policyconfig/action/defaults/") + setting), "auth_self\n") << setting;
}

} // namespace
} // namespace cohortex
