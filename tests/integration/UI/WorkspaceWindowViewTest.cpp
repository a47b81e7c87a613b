#include "UI/WorkspaceWindow/LockView.h"
#include "UI/WorkspaceWindow/WorkspaceTabItem.h"
#include "WorkspaceWindowFixture.h"

#include <gmock/gmock.h>
#include <set>

namespace cohortex::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

// What decides the badge, the icons, the close button and the menu's entries is checked with the items'
// model; here, that the window shows it and that each control acts on its own workspace or tab.
class WorkspaceWindowViewTest : public WorkspaceWindowFixture {
protected:
    void SetUp() override
    {
        WorkspaceWindowFixture::SetUp();
        present();
    }
    // The whole item of a workspace: its select button's parent.
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
    static std::vector<GtkWidget*> partsOf(GtkWidget* widget)
    {
        return shownUnder(widget, [](GtkWidget*) { return true; });
    }
};

TEST_F(WorkspaceWindowViewTest, WorkspaceAndTabButtonsShowTheirOwnLivePagesAndATitleRedrawsOnlyItsItem)
{
    EXPECT_THAT(workspaceLabels(), ElementsAre("Mail", "Chat", "Vault"));
    EXPECT_TRUE(isChecked(workspaceButton("Mail")));
    EXPECT_THAT(tabLabels(), ElementsAre("New Tab"));
    GtkWidget* mailPage = shownPage();
    ASSERT_NE(mailPage, nullptr);
    click(workspaceButton("Chat"));
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
    EXPECT_FALSE(isChecked(workspaceButton("Mail")));
    EXPECT_NE(shownPage(), mailPage);
    // Back on Mail the same page shows again: it was never dropped, so it was never reloaded.
    click(workspaceButton("Mail"));
    EXPECT_EQ(shownPage(), mailPage);
    click(workspaceButton("Mail"));
    EXPECT_TRUE(isChecked(workspaceButton("Mail"))) << "clicking the checked button unchecked it";

    auto first = runtime.activeTab(mail.id)->id;
    click(described(root(), "New Tab (Ctrl+T)"));
    auto second = runtime.activeTab(mail.id)->id;
    ASSERT_NE(second, first);
    EXPECT_NE(shownPage(), mailPage);
    runtime.updateTab(second, mail.id, "Docs", std::nullopt);
    settle();
    GtkWidget* docsTab = tabButton("Docs");
    auto docsParts = partsOf(docsTab);
    std::vector<GtkWidget*> items{ item("Mail"), item("Chat"), item("Vault") };
    runtime.updateTab(first, mail.id, "(7) Inbox", std::nullopt);
    settle();
    EXPECT_THAT(shownTexts(item("Mail")), ElementsAre("Mail", "7"));
    EXPECT_NE(described(item("Mail"), "7 unread"), nullptr);
    // Every item is the same widget as before, down to the other tab's parts.
    EXPECT_EQ(tabButton("Docs"), docsTab);
    EXPECT_EQ(partsOf(docsTab), docsParts);
    EXPECT_EQ((std::vector<GtkWidget*>{ item("Mail"), item("Chat"), item("Vault") }), items);
    click(tabButton("(7) Inbox"));
    EXPECT_EQ(runtime.activeTab(mail.id)->id, first);
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
    alerts.answer = false;
    click(described(item("Chat"), "Remove Workspace"));
    EXPECT_THAT(alerts.shown, ElementsAre(StartsWith("Remove Chat?|")));
    EXPECT_THAT(workspaceLabels(), ElementsAre("Mail", "Chat", "Vault"));
    alerts.answer = true;
    click(described(item("Chat"), "Remove Workspace"));
    EXPECT_THAT(workspaceLabels(), ElementsAre("Mail", "Vault"));

    click(workspaceButton("Vault"));
    authenticator.answer(true);
    settle();
    EXPECT_EQ(described(item("Vault"), "Locked"), nullptr);
    click(menuEntry("Vault", "Lock Now"));
    EXPECT_FALSE(runtime.isLoaded(vault.id));
    EXPECT_NE(described(item("Vault"), "Locked"), nullptr);
    click(menuEntry("Mail", "Put to Sleep Now"));
    EXPECT_TRUE(runtime.sleeping().get().contains(mail.id));
    click(menuEntry("Mail", "Workspace Settings…"));
    EXPECT_EQ(presentation.workspaceSettingsID().get(), mail.id);
    click(menuEntry("Mail", "Remove…"));
    EXPECT_THAT(workspaceLabels(), ElementsAre("Vault"));
}

TEST_F(WorkspaceWindowViewTest, CoversALockedWorkspaceUntilItsOwnerUnlocksIt)
{
    click(workspaceButton("Vault"));
    ASSERT_EQ(authenticator.openPrompts(), 1u);
    EXPECT_TRUE(showsText(root(), "Vault is locked"));
    EXPECT_THAT(tabLabels(), IsEmpty());
    authenticator.answer(false);
    settle();
    click(button(root(), "Unlock"));
    authenticator.answer(false);
    settle();
    EXPECT_TRUE(showsText(root(), LockView::failedHint));
    // Where nothing on the desktop can show the prompt, trying again cannot help: the screen says why.
    click(button(root(), "Unlock"));
    authenticator.answer(Authentication::NoAgent);
    settle();
    EXPECT_TRUE(showsText(root(), LockView::noAgentHint));

    click(button(root(), "Unlock"));
    authenticator.answer(true);
    settle();
    EXPECT_FALSE(showsText(root(), "Vault is locked"));
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
    EXPECT_FALSE(
        gtk_search_bar_get_search_mode(GTK_SEARCH_BAR(gtk_widget_get_ancestor(entry, GTK_TYPE_SEARCH_BAR))));

    presentation.setPageFullscreen(true);
    EXPECT_TRUE(runUntil([&] { return !gtk_widget_get_mapped(workspaceRow()); }));
    EXPECT_EQ(described(root(), "Reload"), nullptr) << "the toolbar stayed";
    presentation.setPageFullscreen(false);
    EXPECT_TRUE(runUntil([&] { return described(root(), "Reload") != nullptr; }))
        << "the toolbar stayed away";
    EXPECT_TRUE(gtk_widget_get_mapped(workspaceRow()));
}

void collectActionNames(GtkWidget* root, std::set<std::string>& names)
{
    for (auto* child = gtk_widget_get_first_child(root); child; child = gtk_widget_get_next_sibling(child)) {
        if (const char* name
            = GTK_IS_ACTIONABLE(child) ? gtk_actionable_get_action_name(GTK_ACTIONABLE(child)) : nullptr)
            names.emplace(name);
        collectActionNames(child, names);
    }
}

// No control without a command behind it: every action the window's controls name is a command of the
// table. The keyboard help is built from the same table.
TEST_F(WorkspaceWindowViewTest, EveryControlBelongsToACommand)
{
    std::set<std::string> commandNames;
    for (const auto& command : commandTable->commands())
        commandNames.insert("app." + std::string(command->name));
    std::set<std::string> named;
    collectActionNames(GTK_WIDGET(window->gobj()), named);
    EXPECT_GE(named.size(), 3u) << "The new-tab, settings and new-workspace buttons run commands";
    for (const auto& name : named)
        EXPECT_TRUE(commandNames.contains(name)) << name << " runs no command";
}

} // namespace
} // namespace cohortex::testing
