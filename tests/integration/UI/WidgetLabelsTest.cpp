#include "UI/WorkspaceWindow/WidgetLabels.h"

#include "Platform/Linux/GLibPtr.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <gtkmm/button.h>

namespace cohortex::testing {
namespace {

// What GTK does when the pointer has rested on the widget: true when a tooltip is to be shown.
bool answersTooltipQuery(Gtk::Widget& widget)
{
    GObjectPtr<GtkTooltip> tooltip(static_cast<GtkTooltip*>(g_object_new(GTK_TYPE_TOOLTIP, nullptr)));
    gboolean shows = FALSE;
    g_signal_emit_by_name(widget.gobj(), "query-tooltip", 4, 4, FALSE, tooltip.get(), &shows);
    return shows;
}

TEST(WidgetLabelsTest, TooltipFollowsTheLatestTextAndAnEmptyOneShowsNothing)
{
    Gtk::Button button;
    EXPECT_FALSE(answersTooltipQuery(button));
    describeWidget(button, "Reload");
    EXPECT_TRUE(answersTooltipQuery(button));
    describeWidget(button, "Stop");
    EXPECT_EQ(tooltipOf(GTK_WIDGET(button.gobj())), "Stop");
    setTooltip(button, "");
    EXPECT_FALSE(answersTooltipQuery(button));

    std::string backing = "Caf\u00e9 \u2014 locked\u2026 and what lies after";
    EXPECT_EQ(toUString(std::string_view(backing).substr(0, backing.find(" and"))).raw(),
        "Caf\u00e9 \u2014 locked\u2026");
}

} // namespace
} // namespace cohortex::testing
