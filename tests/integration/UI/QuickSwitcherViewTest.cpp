#include "UI/QuickSwitcher/QuickSwitcherView.h"

#include "Services/SwitcherChoices.h"
#include "WorkspaceWindowFixture.h"

#include <gdk/gdkkeysyms.h>
#include <gmock/gmock.h>

namespace cohortex::testing {
namespace {

using ::testing::ElementsAre;

// The window with the quick switcher over it, driven as a user would: the command opens it, the field
// takes text, and keys go through the key handler the panel put on the window. Ranking, the highlight's
// moves and the window over a long list are checked with their models.
class QuickSwitcherViewTest : public WorkspaceWindowFixture {
protected:
    void SetUp() override
    {
        WorkspaceWindowFixture::SetUp();
        present();
    }
    void showSwitcher()
    {
        commandTable->run("quick-switcher");
        settle();
    }
    GtkWidget* top() const { return GTK_WIDGET(window->gobj()); }
    static bool hasClass(GtkWidget* w, const char* name) { return gtk_widget_has_css_class(w, name); }
    GtkWidget* panel() const
    {
        return firstShown(top(), [](GtkWidget* w) { return hasClass(w, "quick-switcher-backdrop"); });
    }
    bool isShown() const { return panel() != nullptr; }
    GtkWidget* field() const
    {
        return firstShown(panel(), [](GtkWidget* w) { return GTK_IS_ENTRY(w); });
    }
    void typeInField(const char* text)
    {
        gtk_editable_set_text(GTK_EDITABLE(field()), text);
        settle();
    }
    void pressReturn()
    {
        g_signal_emit_by_name(field(), "activate");
        settle();
    }
    // The widget's event controllers of the kind; emitting on them is what GTK does with a real event.
    static std::vector<GObjectPtr<GObject>> controllers(GtkWidget* widget, GType kind)
    {
        GObjectPtr<GListModel> all(gtk_widget_observe_controllers(widget));
        std::vector<GObjectPtr<GObject>> found;
        for (guint index = 0; index < g_list_model_get_n_items(all.get()); ++index) {
            GObjectPtr<GObject> controller(static_cast<GObject*>(g_list_model_get_item(all.get(), index)));
            if (G_TYPE_CHECK_INSTANCE_TYPE(controller.get(), kind))
                found.push_back(std::move(controller));
        }
        return found;
    }
    // The key handlers in the window's capture phase, where the panel listens.
    std::vector<GObjectPtr<GObject>> keyHandlers() const
    {
        auto found = controllers(top(), GTK_TYPE_EVENT_CONTROLLER_KEY);
        std::erase_if(found, [](const auto& c) {
            return gtk_event_controller_get_propagation_phase(GTK_EVENT_CONTROLLER(c.get()))
                != GTK_PHASE_CAPTURE;
        });
        return found;
    }
    // Whether the key was kept by one of them.
    bool press(unsigned keyval)
    {
        gboolean handled = false;
        for (auto& controller : keyHandlers())
            if (!handled)
                g_signal_emit_by_name(
                    controller.get(), "key-pressed", keyval, 0u, GdkModifierType(0), &handled);
        settle();
        return handled;
    }
    // A press where the pointer is, in the panel's coordinates, as the backdrop's click handler gets it.
    void pressAt(double x, double y)
    {
        for (auto& gesture : controllers(panel(), GTK_TYPE_GESTURE_CLICK))
            g_signal_emit_by_name(gesture.get(), "pressed", 1, x, y);
        settle();
    }
    // A turn of the wheel over the results, in rows; negative is up.
    void scrollResults(double rows)
    {
        auto* list = firstShown(panel(), [](GtkWidget* w) { return hasClass(w, "quick-switcher-list"); });
        gboolean handled = false;
        for (auto& wheel : controllers(list, GTK_TYPE_EVENT_CONTROLLER_SCROLL))
            g_signal_emit_by_name(wheel.get(), "scroll", 0.0, rows, &handled);
        settle();
    }
    std::vector<GtkWidget*> rows() const
    {
        return shownUnder(panel(), [](GtkWidget* w) { return hasClass(w, "quick-switcher-row"); });
    }
    std::vector<std::string> rowTitles() const
    {
        std::vector<std::string> titles;
        for (auto* row : rows())
            titles.push_back(shownTexts(row).front());
        return titles;
    }
    int highlightedRow() const
    {
        auto shown = rows();
        auto found = std::ranges::find_if(
            shown, [](GtkWidget* w) { return hasClass(w, "quick-switcher-highlight"); });
        return found == shown.end() ? -1 : static_cast<int>(found - shown.begin());
    }
};

TEST_F(QuickSwitcherViewTest, KeysTypingClicksAndTheWheelDriveThePanelAndLeaveTheWindowsKeysWhenItCloses)
{
    auto inbox = *runtime.activeTab(mail.id);
    runtime.updateTab(inbox.id, mail.id, "(150) Inbox", Url::parse("https://mail.example.com/inbox"));
    auto second = runtime.newTab(mail.id, *Url::parse("about:blank"));
    runtime.updateTab(*second, mail.id, "Calendar", Url::parse("https://calendar.example.com/"));
    runtime.selectTab(inbox.id, mail.id);
    auto handlersBefore = keyHandlers().size();
    EXPECT_FALSE(isShown());
    showSwitcher();
    ASSERT_TRUE(isShown());
    EXPECT_THAT(rowTitles(), ElementsAre("Mail", "(150) Inbox", "Calendar", "Chat", "Vault"));
    EXPECT_EQ(shownTexts(rows().at(0)).back(), "99") << "the unread count is not shown";
    EXPECT_EQ(highlightedRow(), 0);
    auto* focus = gtk_root_get_focus(GTK_ROOT(top()));
    EXPECT_TRUE(focus && gtk_widget_is_ancestor(focus, field())) << "typing would not search";
    saveScreenshot(top(), "quick-switcher");

    EXPECT_TRUE(press(GDK_KEY_Down));
    EXPECT_TRUE(press(GDK_KEY_Down));
    EXPECT_EQ(highlightedRow(), 2);
    EXPECT_FALSE(press(GDK_KEY_a)) << "letters are the field's, not the panel's";
    pressReturn();
    EXPECT_FALSE(isShown());
    EXPECT_EQ(runtime.activeTab(mail.id)->id, *second);

    showSwitcher();
    typeInField("zebra");
    EXPECT_TRUE(showsText(panel(), QuickSwitcherView::noMatch));
    typeInField("chat");
    EXPECT_THAT(rowTitles(), ElementsAre("Chat"));
    pressReturn();
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);

    showSwitcher();
    EXPECT_TRUE(press(GDK_KEY_Escape));
    EXPECT_FALSE(isShown());
    EXPECT_EQ(keyHandlers().size(), handlersBefore) << "the panel kept the window's keys";

    // The mouse: a click on the panel keeps it, one beside it closes it, a row opens its workspace.
    showSwitcher();
    pressAt(gtk_widget_get_width(panel()) / 2.0, 90);
    EXPECT_TRUE(isShown());
    pressAt(5, 5);
    EXPECT_FALSE(isShown());
    showSwitcher();
    g_signal_emit_by_name(rows().at(0), "clicked");
    settle();
    EXPECT_EQ(manager->activeWorkspaceId().get(), mail.id);
    EXPECT_FALSE(isShown());

    // Longer than the panel's eight rows: the rows on screen follow the highlight and the wheel.
    for (int page = 3; page <= 9; ++page)
        runtime.newTab(mail.id, *Url::parse("about:blank"));
    showSwitcher();
    auto results = SwitcherRows().results(switcherItems(*manager, runtime));
    ASSERT_EQ(results.size(), 12u);
    auto shownFrom = [&](std::size_t first) {
        std::vector<std::string> titles;
        for (std::size_t index = first; index < first + 8; ++index)
            titles.push_back(results[index].title);
        return titles;
    };
    for (int step = 0; step < 9; ++step)
        press(GDK_KEY_Down);
    EXPECT_EQ(rowTitles(), shownFrom(2));
    EXPECT_EQ(highlightedRow(), 7);
    scrollResults(-2);
    EXPECT_EQ(rowTitles(), shownFrom(0));
    EXPECT_EQ(highlightedRow(), -1) << "the wheel moves the rows, not the highlight";
    pressReturn();
    EXPECT_EQ(runtime.activeTab(mail.id)->id, results[9].tabId);
}

} // namespace
} // namespace cohortex::testing
