#include "UI/Styles.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <gtkmm/init.h>

namespace cohortex::testing {
namespace {

// A rule GTK cannot read is dropped with only a warning on the console; here it fails.
TEST(StylesTest, TheStyleSheetReadsCleanlyAndTheIconsAreFoundWithoutAnInstall)
{
    Gtk::init_gtkmm_internals();
    installStyles();
    auto* provider = gtk_css_provider_new();
    int errors = 0;
    g_signal_connect(provider, "parsing-error",
        G_CALLBACK(+[](GtkCssProvider*, GtkCssSection* section, GError* error, int* count) {
            ++*count;
            ADD_FAILURE() << gtk_css_section_to_string(section) << ": " << error->message;
        }),
        &errors);
    gtk_css_provider_load_from_resource(provider, "/com/kestrelwick/Cohortex/style.css");
    EXPECT_EQ(errors, 0);
    g_object_unref(provider);

    auto* theme = gtk_icon_theme_get_for_display(gdk_display_get_default());
    EXPECT_TRUE(gtk_icon_theme_has_icon(theme, "com.kestrelwick.Cohortex"));
    EXPECT_TRUE(gtk_icon_theme_has_icon(theme, "com.kestrelwick.Cohortex-attention"));
}

} // namespace
} // namespace cohortex::testing
