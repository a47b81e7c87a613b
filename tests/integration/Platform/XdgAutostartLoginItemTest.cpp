#include "Platform/Linux/XdgAutostartLoginItem.h"

#include "LogCapture.h"
#include "ScopedVariable.h"
#include "TemporaryDirectory.h"

#include <fstream>
#include <glib.h>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

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

struct EntryCase {
    const char* name;
    const char* text;
    bool isEnabled;
};

void PrintTo(const EntryCase& value, std::ostream* stream)
{
    *stream << value.name;
}

class XdgAutostartEntry : public XdgAutostartLoginItemTest,
                          public ::testing::WithParamInterface<EntryCase> { };

TEST_P(XdgAutostartEntry, CountsAsOnUnlessHiddenOrSwitchedOffForGnome)
{
    writeEntry(GetParam().text);
    EXPECT_EQ(item.isEnabled(), GetParam().isEnabled);
}

INSTANTIATE_TEST_SUITE_P(Entries, XdgAutostartEntry,
    ::testing::Values(EntryCase{ "Plain", "[Desktop Entry]\nType=Application\nExec=cohortex\n", true },
        EntryCase{ "Hidden", "[Desktop Entry]\nType=Application\nExec=cohortex\nHidden=true\n", false },
        EntryCase{ "NotHidden", "[Desktop Entry]\nType=Application\nExec=cohortex\nHidden=false\n", true },
        EntryCase{ "GnomeOff", "[Desktop Entry]\nExec=cohortex\nX-GNOME-Autostart-enabled=false\n", false },
        EntryCase{ "GnomeOn", "[Desktop Entry]\nExec=cohortex\nX-GNOME-Autostart-enabled=true\n", true },
        EntryCase{ "HiddenElsewhere", "[Desktop Entry]\nExec=cohortex\n[Other]\nHidden=true\n", true },
        EntryCase{ "NotADesktopEntry", "Exec=cohortex\n", false }),
    [](const auto& info) { return info.param.name; });

TEST_F(XdgAutostartLoginItemTest, SwitchingOnWritesAnEntryTheDesktopStartsAndOffRemovesIt)
{
    EXPECT_FALSE(item.isEnabled());
    ASSERT_TRUE(item.setEnabled(true));
    EXPECT_TRUE(item.isEnabled());

    std::unique_ptr<GKeyFile, decltype(&g_key_file_free)> file(g_key_file_new(), g_key_file_free);
    ASSERT_TRUE(g_key_file_load_from_file(file.get(), entry().c_str(), G_KEY_FILE_NONE, nullptr));
    auto value = [&](const char* key) {
        std::unique_ptr<char, decltype(&g_free)> text(
            g_key_file_get_string(file.get(), G_KEY_FILE_DESKTOP_GROUP, key, nullptr), g_free);
        return std::string(text ? text.get() : "");
    };
    EXPECT_EQ(value("Type"), "Application");
    EXPECT_EQ(value("Name"), "Cohortex");
    EXPECT_EQ(value("Exec"), "cohortex");
    EXPECT_EQ(value("Icon"), "com.kestrelwick.Cohortex");
    EXPECT_EQ(value("X-GNOME-Autostart-enabled"), "true");

    // Switching on again replaces an entry the user had hidden.
    writeEntry("[Desktop Entry]\nExec=cohortex\nHidden=true\n");
    ASSERT_TRUE(item.setEnabled(true));
    EXPECT_TRUE(item.isEnabled());

    ASSERT_TRUE(item.setEnabled(false));
    EXPECT_FALSE(std::filesystem::exists(entry()));
    EXPECT_FALSE(item.isEnabled());
    // There is nothing left to remove, which is no failure.
    EXPECT_TRUE(item.setEnabled(false));
}

TEST_F(XdgAutostartLoginItemTest, AnAutostartFolderThatCannotBeMadeRefusesAndStaysOff)
{
    std::ofstream(m_config.path() / "autostart") << "a file where the folder belongs";
    LogCapture log;
    EXPECT_FALSE(item.setEnabled(true));
    EXPECT_FALSE(item.isEnabled());
    EXPECT_EQ(log.messages().size(), 1u);
}

} // namespace
} // namespace cohortex
