#include "BarTestHelpers.h"
#include "UI/WorkspaceWindow/TabStripItem.h"
#include "UI/WorkspaceWindow/WorkspaceTabItem.h"
#include "WorkspaceWindowFixture.h"

#include <gmock/gmock.h>
#include <gtkmm/widget.h>

namespace cohortex::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::SizeIs;

constexpr const char* removalMessage
    = "This permanently deletes the workspace's cookies, logins and cached data.";

class TabBarViewTest : public WorkspaceWindowFixture {
protected:
    // The whole item of a workspace: its select button's parent.
    GtkWidget* item(const std::string& name) const
    {
        auto* button = workspaceButton(name);
        return button ? gtk_widget_get_parent(button) : nullptr;
    }
    WorkspaceTabItem& itemView(const std::string& name) const
    {
        return *dynamic_cast<WorkspaceTabItem*>(Glib::wrap(item(name)));
    }
    void hover(const std::string& name, bool isHovering)
    {
        itemView(name).setHovering(isHovering);
        settle();
    }
    GtkWidget* closeButton(const std::string& name) const
    {
        auto found = shownWithTooltip(item(name), "Remove Workspace");
        return found.empty() ? nullptr : found.front();
    }
    GtkWidget* menuEntry(const std::string& name, const std::string& entry)
    {
        itemView(name).popupMenu();
        settle();
        return buttonWithLabel(item(name), entry);
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (const auto& workspace : manager->workspaces().get())
            result.push_back(workspace.name);
        return result;
    }
};

TEST_F(TabBarViewTest, ShowsUnreadCapsulesCappedAtNinetyNinePlus)
{
    present();
    auto tab = *runtime.activeTab(mail.id);
    runtime.updateTab(tab.id, mail.id, "(7) Inbox", std::nullopt);
    settle();
    EXPECT_THAT(shownLabels(item("Mail")), ElementsAre("Mail", "7"));
    EXPECT_THAT(shownWithTooltip(item("Mail"), "7 unread"), SizeIs(1));

    runtime.updateTab(tab.id, mail.id, "(100) Inbox", std::nullopt);
    settle();
    EXPECT_THAT(shownLabels(item("Mail")), ElementsAre("Mail", "99+"));

    runtime.updateTab(tab.id, mail.id, "Inbox", std::nullopt);
    settle();
    EXPECT_THAT(shownLabels(item("Mail")), ElementsAre("Mail"));
}

TEST_F(TabBarViewTest, ShowsSleepAndLockWithLockTakingPrecedence)
{
    present();
    const std::string sleeping = "Sleeping to save memory. Click to wake it.";
    EXPECT_THAT(shownWithTooltip(item("Vault"), "Locked"), SizeIs(1));
    EXPECT_THAT(shownWithTooltip(item("Mail"), "Locked"), IsEmpty());

    click(workspaceButton("Chat"));
    manager->sleepNow(mail);
    settle();
    EXPECT_THAT(shownWithTooltip(item("Mail"), sleeping), SizeIs(1));
    EXPECT_THAT(shownWithTooltip(item("Chat"), sleeping), IsEmpty());

    // Unlocked and loaded, then locked again: it sleeps too, but only the lock shows.
    click(workspaceButton("Vault"));
    authenticator.answer(true);
    settle();
    ASSERT_TRUE(runtime.isLoaded(vault.id));
    EXPECT_THAT(shownWithTooltip(item("Vault"), "Locked"), IsEmpty());
    manager->lockNow(vault);
    settle();
    ASSERT_TRUE(runtime.sleeping().get().contains(vault.id));
    EXPECT_THAT(shownWithTooltip(item("Vault"), "Locked"), SizeIs(1));
    EXPECT_THAT(shownWithTooltip(item("Vault"), sleeping), IsEmpty());
}

TEST_F(TabBarViewTest, ATitleChangeTouchesOnlyItsOwnItem)
{
    present();
    manager->newTabInActiveWorkspace(*Url::parse("about:blank"));
    settle();
    auto tabs = runtime.tabs(mail.id);
    ASSERT_EQ(tabs.size(), 2u);
    runtime.updateTab(tabs[1].id, mail.id, "Docs", std::nullopt);
    settle();
    std::vector<GtkWidget*> workspaceItems{ item("Mail"), item("Chat"), item("Vault") };
    GtkWidget* otherTab = tabButton("Docs");
    auto otherTabParts = widgetsUnder(otherTab, [](GtkWidget*) { return true; });

    runtime.updateTab(tabs[0].id, mail.id, "(3) Inbox", std::nullopt);
    settle();
    // Every item is the same widget as before, down to its parts; the changed one shows its new title.
    EXPECT_THAT(tabLabels(), Contains("(3) Inbox"));
    EXPECT_EQ(tabButton("Docs"), otherTab);
    EXPECT_EQ(widgetsUnder(otherTab, [](GtkWidget*) { return true; }), otherTabParts);
    EXPECT_EQ((std::vector<GtkWidget*>{ item("Mail"), item("Chat"), item("Vault") }), workspaceItems);
    EXPECT_THAT(shownLabels(item("Mail")), ElementsAre("Mail", "3"));
}

TEST_F(TabBarViewTest, CloseButtonAsksAndCancelKeepsEverything)
{
    present();
    EXPECT_EQ(closeButton("Chat"), nullptr);
    hover("Chat", true);
    alerts.answer = false;
    click(closeButton("Chat"));
    settle();
    EXPECT_THAT(alerts.shown, ElementsAre(std::string("Remove Chat?|") + removalMessage));
    EXPECT_THAT(alerts.buttons, ElementsAre("Remove and Delete Logins|Cancel"));
    EXPECT_THAT(names(), ElementsAre("Mail", "Chat", "Vault"));
    EXPECT_THAT(workspaceLabels(), ElementsAre("Mail", "Chat", "Vault"));
}

TEST_F(TabBarViewTest, ConfirmingRemovesExactlyTheChosenWorkspace)
{
    present();
    hover("Vault", true);
    click(closeButton("Vault"));
    settle();
    EXPECT_THAT(names(), ElementsAre("Mail", "Chat"));

    click(menuEntry("Mail", "Remove…"));
    settle();
    EXPECT_THAT(alerts.shown,
        ElementsAre(
            std::string("Remove Vault?|") + removalMessage, std::string("Remove Mail?|") + removalMessage));
    EXPECT_THAT(names(), ElementsAre("Chat"));
    EXPECT_THAT(workspaceLabels(), ElementsAre("Chat"));

    // The last workspace can be neither closed nor removed.
    hover("Chat", true);
    EXPECT_EQ(closeButton("Chat"), nullptr);
    auto* remove = menuEntry("Chat", "Remove…");
    ASSERT_NE(remove, nullptr);
    EXPECT_FALSE(gtk_widget_get_sensitive(remove));
}

TEST_F(TabBarViewTest, ContextMenuEntriesFollowTheWorkspace)
{
    present();
    // Chat was never opened: nothing to put to sleep; no lock, so no "Lock Now".
    auto* sleepChat = menuEntry("Chat", "Put to Sleep Now");
    ASSERT_NE(sleepChat, nullptr);
    EXPECT_FALSE(gtk_widget_get_sensitive(sleepChat));
    EXPECT_EQ(buttonWithLabel(item("Chat"), "Lock Now"), nullptr);
    ASSERT_NE(menuEntry("Vault", "Lock Now"), nullptr);

    click(workspaceButton("Chat"));
    auto* sleepMail = menuEntry("Mail", "Put to Sleep Now");
    ASSERT_TRUE(gtk_widget_get_sensitive(sleepMail));
    click(sleepMail);
    EXPECT_TRUE(runtime.sleeping().get().contains(mail.id));
    EXPECT_FALSE(runtime.isLoaded(mail.id));

    click(menuEntry("Mail", "Workspace Settings…"));
    EXPECT_EQ(presentation.workspaceSettingsID().get(), mail.id);
}

TEST_F(TabBarViewTest, PlusOpensTheCreateModal)
{
    present();
    auto plus = shownWithTooltip(
        gtk_widget_get_first_child(GTK_WIDGET(view->gobj())), "New Container Workspace (Ctrl+Shift+N)");
    ASSERT_THAT(plus, SizeIs(1));
    click(plus.front());
    EXPECT_TRUE(presentation.showingCreateModal().get());
}

TEST_F(TabBarViewTest, PageTabsShowCloseOnTheActiveTabOnceThereAreTwo)
{
    present();
    auto* strip = gtk_widget_get_parent(gtk_widget_get_parent(tabButton("New Tab")));
    EXPECT_THAT(shownWithTooltip(strip, "Close Tab"), IsEmpty());

    manager->newTabInActiveWorkspace(*Url::parse("about:blank"));
    settle();
    ASSERT_EQ(runtime.tabs(mail.id).size(), 2u);
    auto close = shownWithTooltip(strip, "Close Tab");
    ASSERT_THAT(close, SizeIs(1));
    // The one shown belongs to the active (new) tab.
    auto active = runtime.activeTab(mail.id)->id;
    click(close.front());
    settle();
    ASSERT_EQ(runtime.tabs(mail.id).size(), 1u);
    EXPECT_NE(runtime.tabs(mail.id).front().id, active);
    EXPECT_THAT(shownWithTooltip(strip, "Close Tab"), IsEmpty());
}

TEST_F(TabBarViewTest, PageTabTitleFallsBackToTheHost)
{
    present();
    auto tab = *runtime.activeTab(mail.id);
    runtime.updateTab(tab.id, mail.id, std::nullopt, *Url::parse("https://mail.example.com/inbox"));
    settle();
    EXPECT_THAT(tabLabels(), ElementsAre("mail.example.com"));
}

} // namespace
} // namespace cohortex::testing
