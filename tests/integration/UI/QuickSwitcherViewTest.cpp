#include "UI/QuickSwitcher/QuickSwitcherView.h"

#include "WorkspaceWindowFixture.h"

#include <gdk/gdkkeysyms.h>
#include <gmock/gmock.h>

namespace cohortex::testing {
namespace {

using ::testing::ElementsAre;

// The quick switcher over the window: keys go through the handler the panel puts on the window. Ranking
// and the highlight's moves are the models'.
class QuickSwitcherViewTest : public WorkspaceWindowFixture {
protected:
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
    GtkWidget* field() const
    {
        return firstShown(panel(), [](GtkWidget* w) { return GTK_IS_ENTRY(w); });
    }
    void pressReturn()
    {
        g_signal_emit_by_name(field(), "activate");
        settle();
    }
    // The window's capture-phase key handlers, where the panel listens: GTK emits a real key on them.
    std::vector<GObjectPtr<GObject>> keyHandlers() const
    {
        GObjectPtr<GListModel> all(gtk_widget_observe_controllers(top()));
        std::vector<GObjectPtr<GObject>> found;
        for (guint index = 0; index < g_list_model_get_n_items(all.get()); ++index) {
            GObjectPtr<GObject> controller(static_cast<GObject*>(g_list_model_get_item(all.get(), index)));
            if (GTK_IS_EVENT_CONTROLLER_KEY(controller.get())
                && gtk_event_controller_get_propagation_phase(GTK_EVENT_CONTROLLER(controller.get()))
                    == GTK_PHASE_CAPTURE)
                found.push_back(std::move(controller));
        }
        return found;
    }
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
};

TEST_F(QuickSwitcherViewTest, KeysTypingAndClicksDriveThePanelAndLeaveTheWindowsKeysWhenItCloses)
{
    present();
    auto inbox = *runtime.activeTab(mail.id);
    runtime.updateTab(inbox.id, mail.id, "Inbox", Url::parse("https://mail.example.com/inbox"));
    auto second = runtime.newTab(mail.id, *Url::parse("about:blank"));
    runtime.updateTab(*second, mail.id, "Calendar", Url::parse("https://calendar.example.com/"));
    runtime.selectTab(inbox.id, mail.id);
    auto handlersBefore = keyHandlers().size();
    showSwitcher();
    ASSERT_NE(panel(), nullptr);
    EXPECT_THAT(rowTitles(), ElementsAre("Mail", "Inbox", "Calendar", "Chat", "Vault"));
    auto* focus = gtk_root_get_focus(GTK_ROOT(top()));
    EXPECT_TRUE(focus && gtk_widget_is_ancestor(focus, field())) << "typing would not search";
    saveScreenshot(top(), "quick-switcher");

    EXPECT_TRUE(press(GDK_KEY_Down));
    EXPECT_TRUE(press(GDK_KEY_Down));
    EXPECT_FALSE(press(GDK_KEY_a)) << "letters are the field's, not the panel's";
    pressReturn();
    EXPECT_EQ(panel(), nullptr);
    EXPECT_EQ(runtime.activeTab(mail.id)->id, *second);

    showSwitcher();
    type(field(), "chat");
    settle();
    EXPECT_THAT(rowTitles(), ElementsAre("Chat"));
    pressReturn();
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);

    showSwitcher();
    EXPECT_TRUE(press(GDK_KEY_Escape));
    EXPECT_EQ(panel(), nullptr);
    EXPECT_EQ(keyHandlers().size(), handlersBefore) << "the panel kept the window's keys";

    showSwitcher();
    g_signal_emit_by_name(rows().at(0), "clicked");
    settle();
    EXPECT_EQ(manager->activeWorkspaceId().get(), mail.id);
    EXPECT_EQ(panel(), nullptr);
}

} // namespace
} // namespace cohortex::testing
