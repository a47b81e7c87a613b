#include "integration/Platform/RunProgram.h"

#include <cstdlib>
#include <glib.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>

namespace cohortex {
namespace {

// Whether bubblewrap can build the namespaces WebKit puts its web and network processes in.
bool sandboxWorks()
{
    return runProgram({ "bwrap", "--ro-bind", "/", "/", "--unshare-all", "--die-with-parent", "true" })
        .succeeded;
}

// Pages need GTK and a display (the test runs under xvfb-run). WebKit's sandbox stays on; only a host
// that cannot create user namespaces runs these tests without it, and says so.
class EngineTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!sandboxWorks()) {
            std::fprintf(
                stderr, "This host cannot create user namespaces: WebKit's sandbox is off for these tests\n");
            g_setenv("WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS", "1", true);
        }
        // Every test has its own temporary cache directory: a shader cache or a settings database there
        // would only be rebuilt each time and complain once the directory is gone.
        g_setenv("MESA_SHADER_CACHE_DISABLE", "true", false);
        g_setenv("GSETTINGS_BACKEND", "memory", false);
        ASSERT_TRUE(gtk_init_check()) << "No display: run the engine tests under xvfb-run";
    }
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new EngineTestEnvironment);

} // namespace
} // namespace cohortex
