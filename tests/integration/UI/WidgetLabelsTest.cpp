#include "UI/WorkspaceWindow/WidgetLabels.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <gtkmm/button.h>

namespace cohortex::testing {
namespace {

// What GTK does when the pointer has rested on the widget: true when a tooltip is to be shown.
bool answersTooltipQuery(Gtk::Widget& widget)
{
    auto* tooltip = static_cast<GtkTooltip*>(g_object_new(GTK_TYPE_TOOLTIP, nullptr));
    gboolean shows = FALSE;
    g_signal_emit_by_name(widget.gobj(), "query-tooltip", 4, 4, FALSE, tooltip, &shows);
    g_object_unref(tooltip);
    return shows;
}

TEST(WidgetLabelsTest, TooltipFollowsTheLatestTextAndAnEmptyOneShowsNothing)
{
    Gtk::Button button;
    EXPECT_FALSE(answersTooltipQuery(button));
    describeWidget(button, "Reload");
    EXPECT_TRUE(answersTooltipQuery(button));
    EXPECT_EQ(tooltipOf(GTK_WIDGET(button.gobj())), "Reload");
    describeWidget(button, "Stop");
    EXPECT_EQ(tooltipOf(GTK_WIDGET(button.gobj())), "Stop");
    setTooltip(button, "");
    EXPECT_FALSE(answersTooltipQuery(button));
    EXPECT_EQ(tooltipOf(GTK_WIDGET(button.gobj())), "");
}

TEST(WidgetLabelsTest, TooltipSetThroughGtkIsStillRead)
{
    Gtk::Button button;
    button.set_tooltip_text("Downloads");
    EXPECT_EQ(tooltipOf(GTK_WIDGET(button.gobj())), "Downloads");
}

} // namespace
} // namespace cohortex::testing
