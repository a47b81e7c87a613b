#pragma once

#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <functional>
#include <gtk/gtk.h>
#include <string>
#include <vector>

namespace cohortex::testing {

// Finds widgets of the bars the way a user does: by what they show or say.
inline void collectWidgets(
    GtkWidget* root, const std::function<bool(GtkWidget*)>& matches, std::vector<GtkWidget*>& found)
{
    for (auto* child = gtk_widget_get_first_child(root); child; child = gtk_widget_get_next_sibling(child)) {
        if (matches(child))
            found.push_back(child);
        collectWidgets(child, matches, found);
    }
}

inline std::vector<GtkWidget*> widgetsUnder(GtkWidget* root, const std::function<bool(GtkWidget*)>& matches)
{
    std::vector<GtkWidget*> found;
    collectWidgets(root, matches, found);
    return found;
}

inline bool hasTooltip(GtkWidget* widget, const std::string& text)
{
    return tooltipOf(widget).raw() == text;
}

// Mapped widgets with the tooltip: what hovering would explain on screen.
inline std::vector<GtkWidget*> shownWithTooltip(GtkWidget* root, const std::string& text)
{
    return widgetsUnder(root, [&](GtkWidget* w) { return gtk_widget_get_mapped(w) && hasTooltip(w, text); });
}

inline std::vector<std::string> shownLabels(GtkWidget* root)
{
    std::vector<std::string> texts;
    for (auto* label :
        widgetsUnder(root, [](GtkWidget* w) { return GTK_IS_LABEL(w) && gtk_widget_get_mapped(w); }))
        texts.emplace_back(gtk_label_get_text(GTK_LABEL(label)));
    return texts;
}

// A button of a popover menu by its text.
inline GtkWidget* buttonWithLabel(GtkWidget* root, const std::string& text)
{
    auto found = widgetsUnder(root, [&](GtkWidget* w) {
        const char* label = GTK_IS_BUTTON(w) ? gtk_button_get_label(GTK_BUTTON(w)) : nullptr;
        return label && text == label;
    });
    return found.empty() ? nullptr : found.front();
}

} // namespace cohortex::testing
