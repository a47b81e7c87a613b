#include "UI/WorkspaceWindow/LockView.h"
#include "UI/WorkspaceWindow/WorkspaceTabItem.h"
#include "WorkspaceWindowFixture.h"

#include <gmock/gmock.h>

namespace cohortex::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

// What the items show is their model's; here, that each control acts on its own workspace or tab.
class WorkspaceWindowViewTest : public WorkspaceWindowFixture {
protected:
    void SetUp() override
    {
        WorkspaceWindowFixture::SetUp();
        present();
    }
    GtkWidget* item(const std::string& name) const { return gtk_widget_get_parent(workspaceButton(name)); }
    WorkspaceTabItem& itemView(const std::string& name) const
    {
        return *dynamic_cast<WorkspaceTabItem*>(Glib::wrap(item(name)));
    }
    GtkWidget* menuEntry(const std::string& name, const std::string& entry)
    {
        itemView(name).popupMenu();
        settle();
        return button(item(name), entry);
    }
};

TEST_F(WorkspaceWindowViewTest, WorkspaceAndTabButtonsShowTheirOwnLivePagesAndATitleRedrawsOnlyItsItem)
{
    EXPECT_THAT(workspaceLabels(), ElementsAre("Mail", "Chat", "Vault"));
    GtkWidget* mailPage = shownPage();
    ASSERT_NE(mailPage, nullptr);
    click(workspaceButton("Chat"));
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
    EXPECT_NE(shownPage(), mailPage);
    // Back on Mail the same page shows again: it was never dropped, so it was never reloaded.
    click(workspaceButton("Mail"));
    EXPECT_EQ(shownPage(), mailPage);

    auto first = runtime.activeTab(mail.id)->id;
    click(described(root(), "New Tab (Ctrl+T)"));
    auto second = runtime.activeTab(mail.id)->id;
    ASSERT_NE(second, first);
    runtime.updateTab(second, mail.id, "Docs", std::nullopt);
    settle();
    GtkWidget* docsTab = tabButton("Docs");
    std::vector<GtkWidget*> items{ item("Mail"), item("Chat"), item("Vault") };
    runtime.updateTab(first, mail.id, "(7) Inbox", std::nullopt);
    settle();
    EXPECT_THAT(shownTexts(item("Mail")), ElementsAre("Mail", "7"));
    // Every item is the same widget as before: rebuilt ones would lose the pointer and the focus.
    EXPECT_EQ(tabButton("Docs"), docsTab);
    EXPECT_EQ((std::vector<GtkWidget*>{ item("Mail"), item("Chat"), item("Vault") }), items);
    click(tabButton("(7) Inbox"));
    EXPECT_EQ(shownPage(), mailPage);
    click(described(contentArea(), "Close Tab"));
    EXPECT_THAT(tabLabels(), ElementsAre("Docs"));
}

TEST_F(WorkspaceWindowViewTest, EachWorkspaceItemsCloseButtonAndMenuActOnItsOwnWorkspace)
{
    click(described(root(), "New Container Workspace (Ctrl+Shift+N)"));
    EXPECT_TRUE(presentation.showingCreateModal().get());
    presentation.setShowingCreateModal(false);

    EXPECT_EQ(described(item("Chat"), "Remove Workspace"), nullptr) << "shown without hovering";
    itemView("Chat").setHovering(true);
    settle();
    alerts.answer = true;
    click(described(item("Chat"), "Remove Workspace"));
    EXPECT_THAT(alerts.shown, ElementsAre(StartsWith("Remove Chat?|")));
    EXPECT_THAT(workspaceLabels(), ElementsAre("Mail", "Vault"));

    click(workspaceButton("Vault"));
    authenticator.answer(true);
    settle();
    click(menuEntry("Vault", "Lock Now"));
    EXPECT_NE(described(item("Vault"), "Locked"), nullptr);
    click(menuEntry("Mail", "Remove…"));
    EXPECT_THAT(workspaceLabels(), ElementsAre("Vault"));
}

TEST_F(WorkspaceWindowViewTest, CoversALockedWorkspaceUntilItsOwnerUnlocksIt)
{
    click(workspaceButton("Vault"));
    ASSERT_EQ(authenticator.openPrompts(), 1u);
    EXPECT_THAT(tabLabels(), IsEmpty());
    authenticator.answer(false);
    settle();
    // Where nothing on the desktop can show the prompt, trying again cannot help: the screen says why.
    click(button(root(), "Unlock"));
    authenticator.answer(Authentication::NoAgent);
    settle();
    EXPECT_NE(label(root(), LockView::noAgentHint), nullptr);

    click(button(root(), "Unlock"));
    authenticator.answer(true);
    settle();
    EXPECT_EQ(label(root(), "Vault is locked"), nullptr);
    EXPECT_THAT(tabLabels(), ElementsAre("New Tab"));
}

TEST_F(WorkspaceWindowViewTest, TheFindBarTakesTheFocusAndAPageInFullScreenHidesTheBars)
{
    // The bars slide in and out: each check waits for the end of its animation.
    auto searchEntry
        = [this] { return firstShown(root(), [](GtkWidget* w) { return GTK_IS_SEARCH_ENTRY(w); }); };
    presentation.setShowingFindBar(true);
    ASSERT_TRUE(runUntil([&] { return searchEntry() != nullptr; }));
    auto* entry = searchEntry();
    EXPECT_TRUE(runUntil([&] {
        auto* focus = gtk_window_get_focus(window->gobj());
        return focus && (focus == entry || gtk_widget_is_ancestor(focus, entry));
    })) << "typing would not search";
    g_signal_emit_by_name(entry, "stop-search"); // Escape in the field
    EXPECT_FALSE(presentation.showingFindBar().get());

    presentation.setPageFullscreen(true);
    EXPECT_TRUE(runUntil([&] { return !gtk_widget_get_mapped(workspaceRow()); }));
    presentation.setPageFullscreen(false);
    EXPECT_TRUE(runUntil([&] { return described(root(), "Reload") != nullptr; }))
        << "the toolbar stayed away";
}

} // namespace
} // namespace cohortex::testing
