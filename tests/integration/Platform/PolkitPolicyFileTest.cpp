#include "Platform/Linux/GLibPtr.h"
#include "Platform/Linux/PolkitAuthenticator.h"

#include <filesystem>
#include <glib.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace cohortex {
namespace {

const std::filesystem::path policyFile
    = std::filesystem::path(__FILE__).parent_path() / "../../../data/com.kestrelwick.cohortex.policy";
constexpr auto policyDocumentType = "/usr/share/polkit-1/policyconfig-1.dtd";

// What xmllint prints, or nothing when it fails.
std::optional<std::string> xmllint(std::vector<std::string> arguments)
{
    std::vector<char*> argv{ const_cast<char*>("xmllint"), const_cast<char*>("--nonet") };
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(const_cast<char*>(policyFile.c_str()));
    argv.push_back(nullptr);

    char* output = nullptr;
    int status = 0;
    bool ran = g_spawn_sync(nullptr, argv.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, &output,
        nullptr, &status, nullptr);
    GCharPtr owned(output);
    if (!ran || !g_spawn_check_wait_status(status, nullptr))
        return std::nullopt;
    return std::string(owned ? owned.get() : "");
}

class PolkitPolicyFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GCharPtr program(g_find_program_in_path("xmllint"));
        if (!program)
            GTEST_SKIP() << "xmllint is not installed (libxml2-utils)";
    }

    // The value of an XPath expression, without the line end xmllint adds.
    static std::string valueAt(const std::string& path)
    {
        auto value = xmllint({ "--xpath", "string(" + path + ")" }).value_or("(failed)");
        if (value.ends_with('\n'))
            value.pop_back();
        return value;
    }
};

// polkitd skips a file it cannot parse, and the lock would then never be available.
TEST_F(PolkitPolicyFileTest, IsAPolicyThatPolkitdAccepts)
{
    if (g_file_test(policyDocumentType, G_FILE_TEST_EXISTS))
        EXPECT_TRUE(xmllint({ "--noout", "--dtdvalid", policyDocumentType }));
    else
        EXPECT_TRUE(xmllint({ "--noout" }));
}

// Asking for the user's own password everywhere: an administrator's password would keep the owner of
// an ordinary account out of their own workspaces, and "yes" would open them for anyone at the keyboard.
TEST_F(PolkitPolicyFileTest, DeclaresTheCheckedActionWithTheOwnersPasswordEverywhere)
{
    EXPECT_EQ(valueAt("count(/policyconfig/action)"), "1");
    EXPECT_EQ(valueAt("/policyconfig/action/@id"), PolkitAuthenticator::actionId);
    for (auto setting : { "allow_any", "allow_inactive", "allow_active" })
        EXPECT_EQ(valueAt(std::string("/policyconfig/action/defaults/") + setting), "auth_self") << setting;
}

} // namespace
} // namespace cohortex
