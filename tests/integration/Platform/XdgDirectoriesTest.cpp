#include "Platform/Linux/XdgDirectories.h"

#include "ScopedVariable.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace cohortex {
namespace {

TEST(XdgDirectoriesTest, TakeAnAbsoluteVariableAndOtherwiseTheDefaultUnderHome)
{
    struct Case {
        std::filesystem::path (*lookup)();
        const char* variable;
        const char* value;
        const char* expected;
    };
    ScopedVariable home("HOME", "/home/tester");
    for (const auto& [lookup, variable, value, expected] :
        { Case{ xdgDataHome, "XDG_DATA_HOME", nullptr, "/home/tester/.local/share" },
            Case{ xdgCacheHome, "XDG_CACHE_HOME", nullptr, "/home/tester/.cache" },
            Case{ xdgConfigHome, "XDG_CONFIG_HOME", "/xdg/config", "/xdg/config" },
            Case{ xdgConfigHome, "XDG_CONFIG_HOME", nullptr, "/home/tester/.config" },
            Case{ xdgConfigHome, "XDG_CONFIG_HOME", "", "/home/tester/.config" },
            Case{ xdgConfigHome, "XDG_CONFIG_HOME", "xdg/config", "/home/tester/.config" } }) {
        ScopedVariable set(variable, value);
        EXPECT_EQ(lookup(), expected) << variable << "=" << (value ? value : "(unset)");
    }
}

// Services started without a login environment may have no HOME; the password database still knows.
TEST(XdgDirectoriesTest, WithoutHomeTheUsersPasswordEntryAnswers)
{
    const passwd* entry = ::getpwuid(::getuid());
    if (!entry || !entry->pw_dir || !*entry->pw_dir)
        GTEST_SKIP() << "this user has no home directory in the password database";
    ScopedVariable data("XDG_DATA_HOME", nullptr);
    for (const char* value : { static_cast<const char*>(nullptr), "" }) {
        ScopedVariable home("HOME", value);
        EXPECT_EQ(homeDirectory(), std::filesystem::path(entry->pw_dir));
        EXPECT_EQ(xdgDataHome(), std::filesystem::path(entry->pw_dir) / ".local/share");
    }
}

} // namespace
} // namespace cohortex
