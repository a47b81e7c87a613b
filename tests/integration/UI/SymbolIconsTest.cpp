#include "UI/SymbolIcons.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <string>

namespace cohortex::testing {
namespace {

// A name the theme lacks draws as a broken-image placeholder, which nothing else would notice.
TEST(SymbolIconsTest, EverySymbolMapsToAnIconOfTheInstalledTheme)
{
    gtk_init();
    GtkIconTheme* theme = gtk_icon_theme_get_for_display(gdk_display_get_default());
    for (const auto& [symbol, icon] : knownSymbolIcons())
        EXPECT_TRUE(gtk_icon_theme_has_icon(theme, std::string(icon).c_str())) << symbol << " -> " << icon;
    EXPECT_TRUE(gtk_icon_theme_has_icon(theme, iconNameForSymbol("symbol.from.a.newer.version").c_str()));
}

} // namespace
} // namespace cohortex::testing
