#include "UI/QuickSwitcher/QuickSwitcherView.h"

#include "Platform/Linux/GLibPtr.h"
#include "Screenshot.h"
#include "Services/SwitcherChoices.h"
#include "WorkspaceWindowFixture.h"

#include <adwaita.h>
#include <functional>
#include <gdk/gdkkeysyms.h>
#include <gmock/gmock.h>

namespace cohortex::testing {
namespace {

using ::testing::ElementsAre;

// The window with the quick switcher over it, driven as a user would: the flag opens it, the field
// takes text, and keys go through the key handler the panel put on the window.
class QuickSwitcherViewTest : public WorkspaceWindowFixture {
protected:
    void SetUp() override
    {
        // The application's own style, so the screenshot shows what users see.
        adw_init();
        WorkspaceWindowFixture::SetUp();
    }

    void open()
    {
        present();
        showSwitcher();
    }
    void showSwitcher()
    {
        commandTable->run("quick-switcher");
        settle();
    }
    GtkWidget* root() const { return GTK_WIDGET(window->gobj()); }
    GtkWidget* panel() const
    {
        return find(root(), [](GtkWidget* w) { return hasClass(w, "quick-switcher-backdrop"); });
    }
    bool isShown() const { return panel() && gtk_widget_get_mapped(panel()); }
    GtkWidget* field() const
    {
        return find(panel(), [](GtkWidget* w) { return GTK_IS_ENTRY(w); });
    }

    void type(const char* text)
    {
        gtk_editable_set_text(GTK_EDITABLE(field()), text);
        settle();
    }
    void pressReturn()
    {
        g_signal_emit_by_name(field(), "activate");
        settle();
    }
    // Whether the key was kept by a handler in the window's capture phase, where the panel listens.
    bool press(unsigned keyval)
    {
        gboolean handled = false;
        for (auto& controller : keyControllers())
            if (!handled)
                g_signal_emit_by_name(
                    controller.get(), "key-pressed", keyval, 0u, GdkModifierType(0), &handled);
        settle();
        return handled;
    }
    std::vector<GObjectPtr<GtkEventController>> keyControllers() const
    {
        GObjectPtr<GListModel> all(gtk_widget_observe_controllers(root()));
        std::vector<GObjectPtr<GtkEventController>> found;
        for (guint index = 0; index < g_list_model_get_n_items(all.get()); ++index) {
            GObjectPtr<GtkEventController> controller(
                static_cast<GtkEventController*>(g_list_model_get_item(all.get(), index)));
            if (GTK_IS_EVENT_CONTROLLER_KEY(controller.get())
                && gtk_event_controller_get_propagation_phase(controller.get()) == GTK_PHASE_CAPTURE)
                found.push_back(controller);
        }
        return found;
    }

    // A press where the pointer is, in the panel's coordinates, as the backdrop's click handler gets it.
    void pressAt(double x, double y)
    {
        GObjectPtr<GListModel> all(gtk_widget_observe_controllers(panel()));
        for (guint index = 0; index < g_list_model_get_n_items(all.get()); ++index) {
            GObjectPtr<GObject> controller(static_cast<GObject*>(g_list_model_get_item(all.get(), index)));
            if (GTK_IS_GESTURE_CLICK(controller.get()))
                g_signal_emit_by_name(controller.get(), "pressed", 1, x, y);
        }
        settle();
    }

    // A turn of the wheel over the results, in rows; negative is up.
    void scrollResults(double rows)
    {
        auto* list = find(panel(), [](GtkWidget* w) { return hasClass(w, "quick-switcher-list"); });
        ASSERT_NE(list, nullptr);
        GObjectPtr<GListModel> all(gtk_widget_observe_controllers(list));
        gboolean handled = false;
        for (guint index = 0; index < g_list_model_get_n_items(all.get()); ++index) {
            GObjectPtr<GtkEventController> controller(
                static_cast<GtkEventController*>(g_list_model_get_item(all.get(), index)));
            if (GTK_IS_EVENT_CONTROLLER_SCROLL(controller.get()))
                g_signal_emit_by_name(controller.get(), "scroll", 0.0, rows, &handled);
        }
        settle();
    }

    std::vector<GtkWidget*> rows() const
    {
        std::vector<GtkWidget*> found;
        collect(
            panel(),
            [](GtkWidget* w) { return hasClass(w, "quick-switcher-row") && gtk_widget_get_mapped(w); },
            found);
        return found;
    }
    std::vector<std::string> rowTitles() const
    {
        std::vector<std::string> titles;
        for (auto* row : rows())
            titles.push_back(labelText(find(row, [](GtkWidget* w) { return GTK_IS_LABEL(w); })));
        return titles;
    }
    int highlightedRow() const
    {
        auto shown = rows();
        for (std::size_t index = 0; index < shown.size(); ++index)
            if (hasClass(shown[index], "quick-switcher-highlight"))
                return static_cast<int>(index);
        return -1;
    }
    std::string badgeOf(std::size_t row) const
    {
        auto* badge = find(rows().at(row), [](GtkWidget* w) { return hasClass(w, "quick-switcher-badge"); });
        return badge && gtk_widget_get_visible(badge) ? labelText(badge) : "";
    }
    bool showsNoMatch() const
    {
        return find(panel(), [](GtkWidget* w) {
            return GTK_IS_LABEL(w) && gtk_widget_get_mapped(w) && labelText(w) == QuickSwitcherView::noMatch;
        }) != nullptr;
    }

    // Gives the loaded Mail a second tab, so that it lists its tabs, and names the pages as sites would.
    BrowserTab openSecondMailTab()
    {
        auto first = *runtime.activeTab(mail.id);
        runtime.updateTab(first.id, mail.id, "(150) Inbox", Url::parse("https://mail.example.com/inbox"));
        auto second = runtime.newTab(mail.id, *Url::parse("about:blank"));
        runtime.updateTab(*second, mail.id, "Calendar", Url::parse("https://calendar.example.com/"));
        runtime.selectTab(first.id, mail.id);
        settle();
        return first;
    }

private:
    static bool hasClass(GtkWidget* w, const char* name) { return gtk_widget_has_css_class(w, name); }
    static std::string labelText(GtkWidget* label)
    {
        return label ? gtk_label_get_text(GTK_LABEL(label)) : "";
    }
    static void collect(
        GtkWidget* root, const std::function<bool(GtkWidget*)>& matches, std::vector<GtkWidget*>& found)
    {
        for (auto* child = gtk_widget_get_first_child(root); child;
             child = gtk_widget_get_next_sibling(child)) {
            if (matches(child))
                found.push_back(child);
            collect(child, matches, found);
        }
    }
    static GtkWidget* find(GtkWidget* root, const std::function<bool(GtkWidget*)>& matches)
    {
        std::vector<GtkWidget*> found;
        if (root)
            collect(root, matches, found);
        return found.empty() ? nullptr : found.front();
    }
};

TEST_F(QuickSwitcherViewTest, OpensOnEveryWorkspaceWithTheFieldFocused)
{
    present();
    EXPECT_FALSE(isShown());
    commandTable->run("quick-switcher");
    settle();
    ASSERT_TRUE(isShown());
    EXPECT_THAT(rowTitles(), ElementsAre("Mail", "Chat", "Vault"));
    EXPECT_EQ(highlightedRow(), 0);
    auto* focus = gtk_root_get_focus(GTK_ROOT(root()));
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(gtk_widget_is_ancestor(focus, field()));
    EXPECT_STREQ(gtk_entry_get_placeholder_text(GTK_ENTRY(field())), "Jump to a workspace or tab\u2026");
}

TEST_F(QuickSwitcherViewTest, TypingRanksAndArrowsMoveTheHighlightWithinTheList)
{
    present();
    openSecondMailTab();
    showSwitcher();
    EXPECT_THAT(rowTitles(), ElementsAre("Mail", "(150) Inbox", "Calendar", "Chat", "Vault"));
    EXPECT_EQ(badgeOf(0), "99");
    EXPECT_EQ(badgeOf(1), "");

    EXPECT_TRUE(press(GDK_KEY_Up));
    EXPECT_EQ(highlightedRow(), 0);
    for (int step = 0; step < 6; ++step)
        press(GDK_KEY_Down);
    EXPECT_EQ(highlightedRow(), 4);

    type("cal");
    EXPECT_THAT(rowTitles(), ElementsAre("Calendar"));
    EXPECT_EQ(highlightedRow(), 0);
    // Letters are the field's, not the panel's.
    EXPECT_FALSE(press(GDK_KEY_a));
}

TEST_F(QuickSwitcherViewTest, ReturnOpensTheHighlightedRowAndCloses)
{
    present();
    auto inbox = openSecondMailTab();
    showSwitcher();
    press(GDK_KEY_Down);
    press(GDK_KEY_Down);
    pressReturn();
    EXPECT_FALSE(presentation.showingQuickSwitcher().get());
    EXPECT_FALSE(isShown());
    EXPECT_NE(runtime.activeTab(mail.id)->id, inbox.id);

    showSwitcher();
    type("chat");
    pressReturn();
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
}

TEST_F(QuickSwitcherViewTest, ReturnWithNoMatchKeepsThePanelOpen)
{
    open();
    type("zebra");
    EXPECT_TRUE(showsNoMatch());
    EXPECT_TRUE(rowTitles().empty());
    pressReturn();
    EXPECT_TRUE(isShown());
    EXPECT_EQ(manager->activeWorkspaceId().get(), mail.id);
}

TEST_F(QuickSwitcherViewTest, EscapeClosesAndGivesTheKeysBack)
{
    present();
    auto before = keyControllers().size();
    commandTable->run("quick-switcher");
    settle();
    press(GDK_KEY_Down);
    EXPECT_TRUE(press(GDK_KEY_Escape));
    EXPECT_FALSE(isShown());
    EXPECT_EQ(manager->activeWorkspaceId().get(), mail.id);
    EXPECT_EQ(keyControllers().size(), before);
    EXPECT_FALSE(press(GDK_KEY_Escape));
}

TEST_F(QuickSwitcherViewTest, ClickingTheBackdropClosesButClickingThePanelDoesNot)
{
    open();
    double middle = gtk_widget_get_width(panel()) / 2.0;
    pressAt(middle, 90);
    EXPECT_TRUE(isShown());
    pressAt(5, 5);
    EXPECT_FALSE(isShown());
    EXPECT_EQ(manager->activeWorkspaceId().get(), mail.id);
}

TEST_F(QuickSwitcherViewTest, ClickingARowOpensIt)
{
    open();
    g_signal_emit_by_name(rows().at(1), "clicked");
    settle();
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
    EXPECT_FALSE(isShown());
}

TEST_F(QuickSwitcherViewTest, ALongListShowsAWindowThatFollowsTheHighlightAndTheWheel)
{
    present();
    for (int page = 1; page < 20; ++page) {
        auto id = runtime.newTab(mail.id, *Url::parse("about:blank"));
        runtime.updateTab(
            *id, mail.id, "Page " + std::to_string(page), Url::parse("https://mail.example.com/"));
    }
    showSwitcher();
    auto results = SwitcherRows().results(switcherItems(*manager, runtime));
    std::vector<std::string> titles;
    for (const auto& item : results)
        titles.push_back(item.title);
    ASSERT_GT(titles.size(), 20u);
    auto shownFrom = [&](std::size_t first) {
        return std::vector<std::string>(titles.begin() + first, titles.begin() + first + 8);
    };
    EXPECT_EQ(rowTitles(), shownFrom(0));

    for (int step = 0; step < 12; ++step)
        press(GDK_KEY_Down);
    EXPECT_EQ(rowTitles(), shownFrom(5));
    EXPECT_EQ(highlightedRow(), 7);

    scrollResults(-3);
    EXPECT_EQ(rowTitles(), shownFrom(2));
    EXPECT_EQ(highlightedRow(), -1) << "the wheel moves the rows, not the highlight";
    EXPECT_FALSE(saveScreenshot(root(), "quick-switcher-long-list").empty());
    pressReturn();
    ASSERT_TRUE(results[12].tabId.has_value());
    EXPECT_EQ(runtime.activeTab(mail.id)->id, *results[12].tabId)
        << "Return opens the highlighted row even when it is scrolled away";
}

TEST_F(QuickSwitcherViewTest, Screenshots)
{
    present();
    openSecondMailTab();
    showSwitcher();
    press(GDK_KEY_Down);
    runFor(std::chrono::milliseconds(400));
    EXPECT_FALSE(saveScreenshot(root(), "quick-switcher").empty());

    auto* style = adw_style_manager_get_default();
    adw_style_manager_set_color_scheme(style, ADW_COLOR_SCHEME_FORCE_DARK);
    runFor(std::chrono::milliseconds(400));
    EXPECT_FALSE(saveScreenshot(root(), "quick-switcher-dark").empty());
    adw_style_manager_set_color_scheme(style, ADW_COLOR_SCHEME_DEFAULT);
}

} // namespace
} // namespace cohortex::testing
