#include "Platform/Linux/DesktopReservedShortcuts.h"

#include "ScopedVariable.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

namespace cohortex {
namespace {

// GNOME's own default keys, read from its installed schemas with settings kept in memory only.
TEST(DesktopReservedShortcutsTest, GnomesWindowManagerKeysAreReserved)
{
    ScopedVariable backend("GSETTINGS_BACKEND", "memory");
    auto* source = g_settings_schema_source_get_default();
    auto* schema = source ? g_settings_schema_source_lookup(source, "org.gnome.desktop.wm.keybindings", TRUE)
                          : nullptr;
    if (!schema)
        GTEST_SKIP() << "GNOME's keybinding schemas are not installed";
    g_settings_schema_unref(schema);
    auto reserved = desktopReservedShortcuts();
    // Ctrl+Alt+Left switches workspaces in GNOME; Alt+F4 closes windows.
    EXPECT_TRUE(reserved.contains(Shortcut{ 123, Shortcut::control | Shortcut::option }));
    EXPECT_TRUE(reserved.contains(Shortcut{ 118, Shortcut::option }));
    EXPECT_FALSE(reserved.contains(Shortcut{ 1, Shortcut::control | Shortcut::option }));
}

} // namespace
} // namespace cohortex
