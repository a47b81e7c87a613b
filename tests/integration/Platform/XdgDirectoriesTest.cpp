#include "Platform/Linux/XdgDirectories.h"

#include "ScopedVariable.h"

#include <gtest/gtest.h>
#include <ostream>
#include <pwd.h>
#include <unistd.h>

namespace cohortex {
namespace {

struct BaseDirectoryCase {
    const char* name;
    std::filesystem::path (*lookup)();
    const char* variable;
    const char* value;
    const char* expected;
};

void PrintTo(const BaseDirectoryCase& value, std::ostream* stream)
{
    *stream << value.name;
}

class XdgBaseDirectoryTest : public testing::TestWithParam<BaseDirectoryCase> { };

TEST_P(XdgBaseDirectoryTest, TakesAnAbsoluteVariableAndOtherwiseTheDefaultUnderHome)
{
    ScopedVariable home("HOME", "/home/tester");
    ScopedVariable variable(GetParam().variable, GetParam().value);
    EXPECT_EQ(GetParam().lookup(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Variables, XdgBaseDirectoryTest,
    testing::Values(
        BaseDirectoryCase{ "DataUnset", xdgDataHome, "XDG_DATA_HOME", nullptr, "/home/tester/.local/share" },
        BaseDirectoryCase{ "CacheUnset", xdgCacheHome, "XDG_CACHE_HOME", nullptr, "/home/tester/.cache" },
        BaseDirectoryCase{ "ConfigSet", xdgConfigHome, "XDG_CONFIG_HOME", "/xdg/config", "/xdg/config" },
        BaseDirectoryCase{ "ConfigUnset", xdgConfigHome, "XDG_CONFIG_HOME", nullptr, "/home/tester/.config" },
        BaseDirectoryCase{ "ConfigEmpty", xdgConfigHome, "XDG_CONFIG_HOME", "", "/home/tester/.config" },
        BaseDirectoryCase{
            "ConfigRelative", xdgConfigHome, "XDG_CONFIG_HOME", "xdg/config", "/home/tester/.config" }),
    [](const auto& info) { return info.param.name; });

// Services started without a login environment may have no HOME; the password database still knows.
class HomeDirectoryTest : public testing::TestWithParam<const char*> { };

TEST_P(HomeDirectoryTest, WithoutHomeTheUsersPasswordEntryAnswers)
{
    const passwd* entry = ::getpwuid(::getuid());
    if (!entry || !entry->pw_dir || !*entry->pw_dir)
        GTEST_SKIP() << "this user has no home directory in the password database";
    std::filesystem::path expected = entry->pw_dir;
    ScopedVariable home("HOME", GetParam());
    ScopedVariable data("XDG_DATA_HOME", nullptr);

    EXPECT_EQ(homeDirectory(), expected);
    EXPECT_EQ(xdgDataHome(), expected / ".local/share");
}

INSTANTIATE_TEST_SUITE_P(Home, HomeDirectoryTest, testing::Values(nullptr, ""),
    [](const auto& info) { return info.param ? "Empty" : "Unset"; });

} // namespace
} // namespace cohortex
