#include "Platform/Linux/GioDefaultBrowser.h"

#include "MainLoopWait.h"
#include "Platform/Linux/GLibMainQueue.h"
#include "Platform/Linux/GLibPtr.h"
#include "RunProgram.h"
#include "TemporaryDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

namespace cohortex {
namespace {

namespace fs = std::filesystem;

const fs::path desktopFile = fs::path(COHORTEX_SOURCE_DIR) / "data/com.kestrelwick.Cohortex.desktop";
// The browser the user had chosen before: any other application that handles web links.
constexpr auto otherBrowserId = "org.example.OtherBrowser.desktop";
constexpr auto otherBrowser = R"([Desktop Entry]
Type=Application
Name=Other Browser
Exec=true %U
MimeType=x-scheme-handler/http;x-scheme-handler/https;
)";

// What `xdg-mime query default` answers, as another program on the desktop sees it.
std::string xdgMimeDefault(const char* type)
{
    auto result = runProgram({ "xdg-mime", "query", "default", type });
    return result.succeeded ? std::string(g_strstrip(result.output.data())) : "(xdg-mime failed)";
}

// A home of the suite's own, set before the first test touches GIO: GLib reads the XDG variables once per
// process.
class GioDefaultBrowserTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_home = std::make_unique<TemporaryDirectory>();
        auto data = s_home->path() / "data";
        fs::create_directories(data / "applications");
        fs::create_directories(s_home->path() / "config-dirs");
        fs::copy_file(desktopFile, data / "applications" / GioDefaultBrowser::applicationDesktopId);
        std::ofstream(data / "applications" / otherBrowserId) << otherBrowser;
        // GIO passes over a desktop file whose program is not on the PATH, so one stands in for it.
        auto bin = s_home->path() / "bin";
        fs::create_directories(bin);
        std::ofstream(bin / "cohortex") << "#!/bin/sh\nexit 0\n";
        fs::permissions(bin / "cohortex", fs::perms::owner_all);
        std::string path = bin.string() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin");
        setenv("PATH", path.c_str(), true);
        setenv("XDG_DATA_HOME", data.c_str(), true);
        setenv("XDG_DATA_DIRS", (data.string() + ":/usr/share").c_str(), true);
        setenv("XDG_CONFIG_HOME", configHome().c_str(), true);
        // Defaults the machine's administrator set must not decide the outcome.
        setenv("XDG_CONFIG_DIRS", (s_home->path() / "config-dirs").c_str(), true);
        unsetenv("XDG_CURRENT_DESKTOP");
    }
    static void TearDownTestSuite() { s_home.reset(); }

    void SetUp() override
    {
        ASSERT_EQ(fs::path(g_get_user_config_dir()), configHome())
            << "GLib read the user directories before this suite set them: run it in a process of its own";
        if (!hasProgram("xdg-mime"))
            GTEST_SKIP() << "xdg-mime is not installed (xdg-utils)";
        // The other browser is the default, set through GIO, which also drops what GIO had cached.
        fs::remove_all(configHome() / "mimeapps.list");
        GObjectPtr<GDesktopAppInfo> other(g_desktop_app_info_new(otherBrowserId));
        ASSERT_TRUE(other);
        for (auto type : { "x-scheme-handler/http", "x-scheme-handler/https" })
            ASSERT_TRUE(g_app_info_set_as_default_for_type(G_APP_INFO(other.get()), type, nullptr));
    }

    static fs::path configHome() { return s_home->path() / "config"; }

    static std::optional<std::string> makeDefault(GioDefaultBrowser& browser)
    {
        auto task = browser.makeDefault();
        EXPECT_TRUE(runUntil([&] { return task.isDone(); }, 2));
        return task.isDone() ? task.result() : std::optional<std::string>("(not done)");
    }

    GLibMainQueue m_queue;
    static inline std::unique_ptr<TemporaryDirectory> s_home;
};

TEST_F(GioDefaultBrowserTest, BecomesTheDefaultForBothSchemesAsOtherProgramsSeeItOrSaysWhyNot)
{
    GioDefaultBrowser browser;
    EXPECT_FALSE(browser.isDefaultBrowser());
    EXPECT_EQ(makeDefault(browser), std::nullopt);
    EXPECT_EQ(xdgMimeDefault("x-scheme-handler/http"), GioDefaultBrowser::applicationDesktopId);
    EXPECT_EQ(xdgMimeDefault("x-scheme-handler/https"), GioDefaultBrowser::applicationDesktopId);
    EXPECT_TRUE(browser.isDefaultBrowser());

    // Root may write anywhere, so the file is made impossible to replace rather than unwritable.
    fs::remove_all(configHome() / "mimeapps.list");
    fs::create_directories(configHome() / "mimeapps.list" / "in-the-way");
    auto failure = makeDefault(browser);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->find("mimeapps.list"), std::string::npos) << *failure;
}

} // namespace
} // namespace cohortex
