#include "UI/Styles.h"

#include "UI/SymbolIcons.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <gtkmm/init.h>
#include <string>

namespace cohortex::testing {
namespace {

// A rule GTK cannot read is dropped with only a warning on the console, and an icon name the theme lacks
// draws as a broken-image placeholder: nothing else would notice either.
TEST(StylesTest, TheStyleSheetReadsCleanlyAndEveryIconIsFoundWithoutAnInstall)
{
    Gtk::init_gtkmm_internals();
    installStyles();
    auto* provider = gtk_css_provider_new();
    g_signal_connect(provider, "parsing-error",
        G_CALLBACK(+[](GtkCssProvider*, GtkCssSection* section, GError* error, gpointer) {
            ADD_FAILURE() << gtk_css_section_to_string(section) << ": " << error->message;
        }),
        nullptr);
    gtk_css_provider_load_from_resource(provider, "/com/kestrelwick/Cohortex/style.css");
    g_object_unref(provider);

    auto* theme = gtk_icon_theme_get_for_display(gdk_display_get_default());
    EXPECT_TRUE(gtk_icon_theme_has_icon(theme, "com.kestrelwick.Cohortex"));
    EXPECT_TRUE(gtk_icon_theme_has_icon(theme, "com.kestrelwick.Cohortex-attention"));
    for (const auto& [symbol, icon] : knownSymbolIcons())
        EXPECT_TRUE(gtk_icon_theme_has_icon(theme, std::string(icon).c_str())) << symbol << " -> " << icon;
    EXPECT_TRUE(gtk_icon_theme_has_icon(theme, iconNameForSymbol("symbol.from.a.newer.version").c_str()));
}

} // namespace
} // namespace cohortex::testing
