#include "Platform/Linux/PolkitAuthenticator.h"
#include "RunProgram.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

const std::string policyFile
    = (std::filesystem::path(COHORTEX_SOURCE_DIR) / "data/com.kestrelwick.cohortex.policy").string();
constexpr auto policyDocumentType = "/usr/share/polkit-1/policyconfig-1.dtd";

// The value of an XPath expression in the policy file, without the line end xmllint adds.
std::string valueAt(const std::string& path)
{
    auto result = runProgram({ "xmllint", "--nonet", "--xpath", "string(" + path + ")", policyFile });
    if (!result.succeeded)
        return "(failed)";
    if (result.output.ends_with('\n'))
        result.output.pop_back();
    return result.output;
}

// polkitd skips a file it cannot parse, and the lock would then never be available. Asking for the
// user's own password everywhere: an administrator's password would keep the owner of an ordinary
// account out of their own workspaces, and "yes" would open them for anyone at the keyboard.
TEST(PolkitPolicyFileTest, IsAValidPolicyAskingForTheOwnersPasswordEverywhere)
{
    if (!hasProgram("xmllint"))
        GTEST_SKIP() << "xmllint is not installed (libxml2-utils)";
    if (g_file_test(policyDocumentType, G_FILE_TEST_EXISTS))
        EXPECT_TRUE(
            runProgram({ "xmllint", "--nonet", "--noout", "--dtdvalid", policyDocumentType, policyFile })
                .succeeded);
    else
        EXPECT_TRUE(runProgram({ "xmllint", "--nonet", "--noout", policyFile }).succeeded);

    EXPECT_EQ(valueAt("count(/policyconfig/action)"), "1");
    EXPECT_EQ(valueAt("/policyconfig/action/@id"), PolkitAuthenticator::actionId);
    for (auto setting : { "allow_any", "allow_inactive", "allow_active" })
        EXPECT_EQ(valueAt(std::string("/policyconfig/action/defaults/") + setting), "auth_self") << setting;
}

} // namespace
} // namespace cohortex
