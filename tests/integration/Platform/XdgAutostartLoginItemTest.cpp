#include "Platform/Linux/XdgAutostartLoginItem.h"

#include "ScopedVariable.h"
#include "TemporaryDirectory.h"

#include <fstream>
#include <glib.h>
#include <gtest/gtest.h>

namespace cohortex {
namespace {

class XdgAutostartLoginItemTest : public ::testing::Test {
protected:
    std::filesystem::path entry() const
    {
        return m_config.path() / "autostart" / "com.kestrelwick.Cohortex.desktop";
    }

    void writeEntry(const std::string& text) const
    {
        std::filesystem::create_directories(entry().parent_path());
        std::ofstream(entry()) << text;
    }

    TemporaryDirectory m_config;
    ScopedVariable m_variable{ "XDG_CONFIG_HOME", m_config.path().c_str() };
    XdgAutostartLoginItem item;
};

// The desktop's startup settings switch an entry off by hiding it, or for GNOME by its own key.
TEST_F(XdgAutostartLoginItemTest, AnEntryCountsAsOnUnlessHiddenOrSwitchedOffForGnome)
{
    for (const auto& [text, isEnabled] : std::initializer_list<std::pair<const char*, bool>>{
             { "[Desktop Entry]\nType=Application\nExec=cohortex\n", true },
             { "[Desktop Entry]\nType=Application\nExec=cohortex\nHidden=true\n", false },
             { "[Desktop Entry]\nExec=cohortex\nX-GNOME-Autostart-enabled=false\n", false },
             { "[Desktop Entry]\nExec=cohortex\n[Other]\nHidden=true\n", true },
             { "Exec=cohortex\n", false } }) {
        writeEntry(text);
        EXPECT_EQ(item.isEnabled(), isEnabled) << text;
    }
}

TEST_F(XdgAutostartLoginItemTest, SwitchingOnWritesAnEntryTheDesktopStartsAndOffRemovesIt)
{
    EXPECT_FALSE(item.isEnabled());
    ASSERT_TRUE(item.setEnabled(true));
    EXPECT_TRUE(item.isEnabled());

    std::unique_ptr<GKeyFile, decltype(&g_key_file_free)> file(g_key_file_new(), g_key_file_free);
    ASSERT_TRUE(g_key_file_load_from_file(file.get(), entry().c_str(), G_KEY_FILE_NONE, nullptr));
    std::unique_ptr<char, decltype(&g_free)> exec(
        g_key_file_get_string(file.get(), G_KEY_FILE_DESKTOP_GROUP, "Exec", nullptr), g_free);
    EXPECT_STREQ(exec.get(), "cohortex");

    // Switching on again replaces an entry the user had hidden.
    writeEntry("[Desktop Entry]\nExec=cohortex\nHidden=true\n");
    ASSERT_TRUE(item.setEnabled(true));
    EXPECT_TRUE(item.isEnabled());
    ASSERT_TRUE(item.setEnabled(false));
    EXPECT_FALSE(std::filesystem::exists(entry()));
}

} // namespace
} // namespace cohortex
