#include "Platform/Linux/GLibPtr.h"
#include "WorkspaceWindowFixture.h"

#include <adwaita.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace cohortex::testing {
namespace {

// Pictures of the window to look at, not to compare: Mail with unread mail and two tabs, Chat asleep,
// Vault locked; once in the light style and once in the dark one.
class WindowScreenshotTest : public WorkspaceWindowFixture {
protected:
    static std::filesystem::path screenshotPath(const std::string& name)
    {
        auto directory = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "screenshots";
        std::filesystem::create_directories(directory);
        return directory / name;
    }

    bool save(const std::string& name)
    {
        auto* widget = GTK_WIDGET(window->gobj());
        int width = gtk_widget_get_width(widget);
        int height = gtk_widget_get_height(widget);
        GObjectPtr<GdkPaintable> paintable(gtk_widget_paintable_new(widget));
        GtkSnapshot* snapshot = gtk_snapshot_new();
        gdk_paintable_snapshot(paintable.get(), snapshot, width, height);
        std::unique_ptr<GskRenderNode, decltype(&gsk_render_node_unref)> node(
            gtk_snapshot_free_to_node(snapshot), &gsk_render_node_unref);
        if (!node)
            return false;
        graphene_rect_t bounds = GRAPHENE_RECT_INIT(0, 0, float(width), float(height));
        GObjectPtr<GdkTexture> texture(
            gsk_renderer_render_texture(gtk_native_get_renderer(GTK_NATIVE(widget)), node.get(), &bounds));
        return gdk_texture_save_to_png(texture.get(), screenshotPath(name).c_str());
    }
};

TEST_F(WindowScreenshotTest, WindowWithSleepingLockedAndUnreadWorkspaces)
{
    adw_init();
    present();
    click(workspaceButton("Chat"));
    click(workspaceButton("Mail"));
    manager->sleepNow(chat);
    auto tab = *runtime.activeTab(mail.id);
    runtime.updateTab(tab.id, mail.id, "(12) Inbox - Mail", *Url::parse("https://mail.example.com/inbox"));
    manager->newTabInActiveWorkspace(*Url::parse("about:blank"));
    settle();
    ASSERT_TRUE(runtime.sleeping().get().contains(chat.id));
    // Past the theme's transitions, so the picture shows where they end.
    runFor(std::chrono::milliseconds(500));

    EXPECT_TRUE(save("window.png"));
    auto* styles = adw_style_manager_get_default();
    adw_style_manager_set_color_scheme(styles, ADW_COLOR_SCHEME_FORCE_DARK);
    runFor(std::chrono::milliseconds(500));
    EXPECT_TRUE(save("window-dark.png"));
    adw_style_manager_set_color_scheme(styles, ADW_COLOR_SCHEME_DEFAULT);
    settle();
}

} // namespace
} // namespace cohortex::testing
