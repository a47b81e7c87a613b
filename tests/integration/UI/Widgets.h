#pragma once

#include "Platform/Linux/GLibPtr.h"
#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <filesystem>
#include <functional>
#include <gtk/gtk.h>
#include <memory>
#include <string>
#include <vector>

namespace cohortex::testing {

// Finds widgets the way a user or a screen reader does: by the texts they show, their captions and their
// tooltips. Only what is mapped is on screen: widgets of a hidden page, row or popover do not count.
inline std::vector<GtkWidget*> shownUnder(GtkWidget* root, const std::function<bool(GtkWidget*)>& matches)
{
    std::vector<GtkWidget*> found;
    for (auto* child = root ? gtk_widget_get_first_child(root) : nullptr; child;
         child = gtk_widget_get_next_sibling(child)) {
        if (!gtk_widget_get_mapped(child))
            continue;
        if (matches(child))
            found.push_back(child);
        auto below = shownUnder(child, matches);
        found.insert(found.end(), below.begin(), below.end());
    }
    return found;
}
inline GtkWidget* firstShown(GtkWidget* root, const std::function<bool(GtkWidget*)>& matches)
{
    auto found = shownUnder(root, matches);
    return found.empty() ? nullptr : found.front();
}
inline std::vector<std::string> shownTexts(GtkWidget* root)
{
    std::vector<std::string> texts;
    for (auto* label : shownUnder(root, [](GtkWidget* w) { return GTK_IS_LABEL(w); }))
        texts.emplace_back(gtk_label_get_text(GTK_LABEL(label)));
    return texts;
}
inline GtkWidget* label(GtkWidget* root, const std::string& text)
{
    return firstShown(
        root, [&](GtkWidget* w) { return GTK_IS_LABEL(w) && text == gtk_label_get_text(GTK_LABEL(w)); });
}
inline GtkWidget* button(GtkWidget* root, const std::string& text)
{
    auto* found = label(root, text);
    return found ? gtk_widget_get_ancestor(found, GTK_TYPE_BUTTON) : nullptr;
}
// The control a caption names, as a screen reader pairs them.
inline GtkWidget* control(GtkWidget* root, const std::string& caption)
{
    auto* found = label(root, caption);
    return found ? gtk_label_get_mnemonic_widget(GTK_LABEL(found)) : nullptr;
}
// What hovering would explain.
inline GtkWidget* described(GtkWidget* root, const std::string& tooltip)
{
    return firstShown(root, [&](GtkWidget* w) { return tooltipOf(w).raw() == tooltip; });
}
inline void type(GtkWidget* editable, const std::string& text)
{
    if (editable)
        gtk_editable_set_text(GTK_EDITABLE(editable), text.c_str());
}
inline bool isChecked(GtkWidget* button)
{
    return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(button));
}

inline GtkWidget* windowTitled(const std::string& title)
{
    GListModel* toplevels = gtk_window_get_toplevels();
    for (guint index = 0; index < g_list_model_get_n_items(toplevels); ++index) {
        GObjectPtr<GtkWidget> window(static_cast<GtkWidget*>(g_list_model_get_item(toplevels, index)));
        const char* shown = gtk_window_get_title(GTK_WINDOW(window.get()));
        if (gtk_widget_get_visible(window.get()) && shown && title == shown)
            return window.get();
    }
    return nullptr;
}

// Into build/tests/screenshots/<name>.png, for a person to look at.
inline void saveScreenshot(GtkWidget* widget, const std::string& name)
{
    int width = gtk_widget_get_width(widget);
    int height = gtk_widget_get_height(widget);
    auto* native = gtk_widget_get_native(widget);
    if (width <= 0 || height <= 0 || !native)
        return;
    GObjectPtr<GdkPaintable> paintable(gtk_widget_paintable_new(widget));
    auto* snapshot = gtk_snapshot_new();
    gdk_paintable_snapshot(paintable.get(), GDK_SNAPSHOT(snapshot), width, height);
    std::unique_ptr<GskRenderNode, decltype(&gsk_render_node_unref)> node(
        gtk_snapshot_free_to_node(snapshot), &gsk_render_node_unref);
    if (!node)
        return;
    graphene_rect_t area = GRAPHENE_RECT_INIT(0, 0, float(width), float(height));
    GObjectPtr<GdkTexture> texture(
        gsk_renderer_render_texture(gtk_native_get_renderer(native), node.get(), &area));
    auto folder = std::filesystem::canonical("/proc/self/exe").parent_path() / "screenshots";
    std::filesystem::create_directories(folder);
    gdk_texture_save_to_png(texture.get(), (folder / (name + ".png")).c_str());
}

} // namespace cohortex::testing
