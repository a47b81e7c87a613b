#pragma once

#include "Platform/Linux/GLibPtr.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <memory>
#include <string>
#include <vector>

namespace cohortex::testing {

// Finding a sheet's controls the way a user or a screen reader does: by the texts they show, their
// captions and their tooltips; and saving what the sheet looks like.
class SheetFinding {
public:
    // The visible top-level window with the title, or nullptr.
    static GtkWidget* shownWindowTitled(const std::string& title)
    {
        GListModel* toplevels = gtk_window_get_toplevels();
        for (guint index = 0; index < g_list_model_get_n_items(toplevels); ++index) {
            GObjectPtr<GtkWindow> item(static_cast<GtkWindow*>(g_list_model_get_item(toplevels, index)));
            auto* window = item.get();
            const char* windowTitle = gtk_window_get_title(window);
            if (gtk_widget_get_visible(GTK_WIDGET(window)) && windowTitle && title == windowTitle)
                return GTK_WIDGET(window);
        }
        return nullptr;
    }

    static GtkWidget* firstMatch(GtkWidget* root, const std::function<bool(GtkWidget*)>& matches)
    {
        for (auto* child = gtk_widget_get_first_child(root); child;
             child = gtk_widget_get_next_sibling(child)) {
            if (matches(child))
                return child;
            if (auto* found = firstMatch(child, matches))
                return found;
        }
        return nullptr;
    }

    // A label on screen showing exactly the text.
    static GtkWidget* label(GtkWidget* root, const std::string& text)
    {
        return firstMatch(root, [&](GtkWidget* w) {
            return GTK_IS_LABEL(w) && gtk_widget_get_mapped(w) && text == gtk_label_get_text(GTK_LABEL(w));
        });
    }
    // The control a caption names, as a screen reader pairs them.
    static GtkWidget* control(GtkWidget* root, const std::string& caption)
    {
        auto* found = label(root, caption);
        return found ? gtk_label_get_mnemonic_widget(GTK_LABEL(found)) : nullptr;
    }
    static GtkWidget* button(GtkWidget* root, const std::string& text)
    {
        auto* found = label(root, text);
        return found ? gtk_widget_get_ancestor(found, GTK_TYPE_BUTTON) : nullptr;
    }
    static GtkWidget* describedButton(GtkWidget* root, const std::string& text)
    {
        return firstMatch(root, [&](GtkWidget* w) {
            return GTK_IS_BUTTON(w) && gtk_widget_get_mapped(w) && tooltipOf(w).raw() == text;
        });
    }
    static void type(GtkWidget* editable, const std::string& text)
    {
        ASSERT_NE(editable, nullptr);
        gtk_editable_set_text(GTK_EDITABLE(editable), text.c_str());
    }
    static bool isShown(GtkWidget* widget) { return widget && gtk_widget_get_mapped(widget); }

    // Renders the widget as it is on screen into build/tests/screenshots/<name>.png, beside the test binary.
    static std::filesystem::path saveScreenshot(GtkWidget* widget, const std::string& name)
    {
        auto directory = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "screenshots";
        std::filesystem::create_directories(directory);
        auto path = directory / (name + ".png");
        int width = gtk_widget_get_width(widget);
        int height = gtk_widget_get_height(widget);
        GObjectPtr<GdkPaintable> paintable(gtk_widget_paintable_new(widget));
        GtkSnapshot* snapshot = gtk_snapshot_new();
        gdk_paintable_snapshot(paintable.get(), snapshot, width, height);
        std::unique_ptr<GskRenderNode, decltype(&gsk_render_node_unref)> node(
            gtk_snapshot_free_to_node(snapshot), gsk_render_node_unref);
        if (node) {
            GskRenderer* renderer = gtk_native_get_renderer(gtk_widget_get_native(widget));
            graphene_rect_t bounds = GRAPHENE_RECT_INIT(0, 0, float(width), float(height));
            GObjectPtr<GdkTexture> texture(gsk_renderer_render_texture(renderer, node.get(), &bounds));
            gdk_texture_save_to_png(texture.get(), path.c_str());
        }
        return path;
    }
};

} // namespace cohortex::testing
