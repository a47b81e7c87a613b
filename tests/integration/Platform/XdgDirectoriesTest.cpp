#include "Platform/Linux/XdgDirectories.h"

#include "ScopedVariable.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

// A relative or empty variable is ignored, as the XDG rules say.
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
            Case{ xdgConfigHome, "XDG_CONFIG_HOME", "", "/home/tester/.config" },
            Case{ xdgConfigHome, "XDG_CONFIG_HOME", "xdg/config", "/home/tester/.config" } }) {
        ScopedVariable set(variable, value);
        EXPECT_EQ(lookup(), expected) << variable << "=" << (value ? value : "(unset)");
    }
}

} // namespace
} // namespace cohortex
