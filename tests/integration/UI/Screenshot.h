#pragma once

#include "Platform/Linux/GLibPtr.h"

#include <filesystem>
#include <gtk/gtk.h>
#include <memory>
#include <string>

namespace cohortex::testing {

// Renders a widget as it is on screen into build/tests/screenshots/<name>.png, next to the test program,
// for a person to look at. Returns the file, or an empty path when nothing could be drawn.
inline std::filesystem::path saveScreenshot(GtkWidget* widget, const std::string& name)
{
    struct NodeFree {
        void operator()(GskRenderNode* node) const { gsk_render_node_unref(node); }
    };
    int width = gtk_widget_get_width(widget);
    int height = gtk_widget_get_height(widget);
    auto* native = gtk_widget_get_native(widget);
    if (width <= 0 || height <= 0 || !native)
        return {};
    GObjectPtr<GdkPaintable> paintable(gtk_widget_paintable_new(widget));
    auto* snapshot = gtk_snapshot_new();
    gdk_paintable_snapshot(paintable.get(), GDK_SNAPSHOT(snapshot), width, height);
    std::unique_ptr<GskRenderNode, NodeFree> node(gtk_snapshot_free_to_node(snapshot));
    if (!node)
        return {};
    graphene_rect_t area = GRAPHENE_RECT_INIT(0, 0, static_cast<float>(width), static_cast<float>(height));
    GObjectPtr<GdkTexture> texture(
        gsk_renderer_render_texture(gtk_native_get_renderer(native), node.get(), &area));
    auto folder = std::filesystem::canonical("/proc/self/exe").parent_path() / "screenshots";
    std::filesystem::create_directories(folder);
    auto file = folder / (name + ".png");
    return gdk_texture_save_to_png(texture.get(), file.c_str()) ? file : std::filesystem::path();
}

} // namespace cohortex::testing
