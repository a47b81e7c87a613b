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

TEST(WidgetLabelsTest, ATextBeyondAsciiKeepsItsBytesNoMoreNoFewer)
{
    std::string backing = "Caf\u00e9 \u2014 locked\u2026 and what lies after";
    auto text = std::string_view(backing).substr(0, backing.find(" and"));
    EXPECT_EQ(toUString(text).raw(), "Caf\u00e9 \u2014 locked\u2026");
}

TEST(WidgetLabelsTest, TooltipSetThroughGtkIsStillRead)
{
    Gtk::Button button;
    button.set_tooltip_text("Downloads");
    EXPECT_EQ(tooltipOf(GTK_WIDGET(button.gobj())), "Downloads");
}

} // namespace
} // namespace cohortex::testing
