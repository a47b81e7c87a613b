#include "UI/Commands/ShortcutsHelp.h"
#include "UI/WorkspaceWindow/LockView.h"
#include "WorkspaceWindowFixture.h"

#include <gmock/gmock.h>
#include <set>

namespace cohortex::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using WorkspaceWindowViewTest = WorkspaceWindowFixture;

TEST_F(WorkspaceWindowViewTest, TheWorkspaceRowOpensWorkspacesAndTheirPagesLiveOn)
{
    present();
    EXPECT_THAT(workspaceLabels(), ElementsAre("Mail", "Chat", "Vault"));
    EXPECT_TRUE(isChecked(workspaceButton("Mail")));
    EXPECT_TRUE(runtime.isLoaded(mail.id));
    EXPECT_THAT(tabLabels(), ElementsAre("New Tab"));
    GtkWidget* mailPage = shownPage();
    ASSERT_NE(mailPage, nullptr);

    click(workspaceButton("Chat"));
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
    EXPECT_TRUE(isChecked(workspaceButton("Chat")));
    EXPECT_FALSE(isChecked(workspaceButton("Mail")));
    EXPECT_NE(shownPage(), mailPage);
    // Back on Mail the same page shows again: it was never dropped, so it was never reloaded.
    click(workspaceButton("Mail"));
    EXPECT_EQ(shownPage(), mailPage);
    click(workspaceButton("Mail"));
    EXPECT_TRUE(isChecked(workspaceButton("Mail"))) << "clicking the checked button unchecked it";

    // A new title keeps the page; a new tab shows its own, and its button brings the first back.
    auto first = *runtime.activeTab(mail.id);
    runtime.updateTab(first.id, mail.id, "(2) Inbox", std::nullopt);
    settle();
    EXPECT_EQ(shownPage(), mailPage);
    click(described(root(), "New Tab (Ctrl+T)"));
    ASSERT_EQ(runtime.tabs(mail.id).size(), 2u);
    EXPECT_NE(shownPage(), mailPage);
    click(tabButton("(2) Inbox"));
    EXPECT_EQ(runtime.activeTab(mail.id)->id, first.id);
    EXPECT_EQ(shownPage(), mailPage);

    manager->addWorkspace("Docs", *Url::parse("about:blank"), "doc", "#34C759");
    manager->removeWorkspace(chat.id);
    auto renamed = mail;
    renamed.name = "Post";
    manager->updateWorkspace(renamed);
    settle();
    EXPECT_THAT(workspaceLabels(), ElementsAre("Post", "Vault", "Docs"));
}

TEST_F(WorkspaceWindowViewTest, CoversALockedWorkspaceUntilItsOwnerUnlocksIt)
{
    present();
    click(workspaceButton("Vault"));
    ASSERT_EQ(authenticator.openPrompts(), 1u);
    EXPECT_TRUE(showsText(root(), "Vault is locked"));
    EXPECT_THAT(tabLabels(), IsEmpty());
    EXPECT_FALSE(runtime.isLoaded(vault.id));
    // Cancelling the prompt that opening raised changes nothing on screen.
    authenticator.answer(false);
    settle();
    EXPECT_TRUE(showsText(root(), LockView::hint));

    click(button(root(), "Unlock"));
    ASSERT_EQ(authenticator.openPrompts(), 1u);
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
    // Locked again, it asks afresh with the first wording.
    manager->lockNow(vault);
    settle();
    EXPECT_TRUE(showsText(root(), "Vault is locked"));
    EXPECT_TRUE(showsText(root(), LockView::hint));
}

// The empty state is not tested: the session manager never has an empty list (the last workspace cannot be
// removed, an empty stored list gives the presets) and an unknown active id falls back to the first one.

TEST_F(WorkspaceWindowViewTest, TheFindBarTakesTheFocusAndAPageInFullScreenHidesTheBars)
{
    present();
    presentation.setShowingFindBar(true);
    settle();
    auto* entry = firstShown(root(), [](GtkWidget* w) { return GTK_IS_SEARCH_ENTRY(w); });
    ASSERT_NE(entry, nullptr);
    auto* focus = gtk_window_get_focus(window->gobj());
    EXPECT_TRUE(focus && (focus == entry || gtk_widget_is_ancestor(focus, entry)))
        << "typing would not search";
    g_signal_emit_by_name(entry, "stop-search"); // Escape in the field
    EXPECT_FALSE(presentation.showingFindBar().get());
    EXPECT_FALSE(
        gtk_search_bar_get_search_mode(GTK_SEARCH_BAR(gtk_widget_get_ancestor(entry, GTK_TYPE_SEARCH_BAR))));

    presentation.setPageFullscreen(true);
    settle();
    EXPECT_FALSE(gtk_widget_get_mapped(workspaceRow()));
    EXPECT_EQ(described(root(), "Reload"), nullptr) << "the toolbar stayed";
    presentation.setPageFullscreen(false);
    settle();
    EXPECT_TRUE(gtk_widget_get_mapped(workspaceRow()));
    EXPECT_NE(described(root(), "Reload"), nullptr);
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

// No control without a command behind it, no command out of reach: every action the window's controls
// name is a command of the table, every command is an action, and the keyboard help lists every key.
TEST_F(WorkspaceWindowViewTest, EveryControlAndKeyBelongsToACommand)
{
    present();
    std::set<std::string> commandNames;
    for (const auto& command : commandTable->commands())
        commandNames.insert("app." + std::string(command->name));
    std::set<std::string> actionNames;
    char** listed = g_action_group_list_actions(G_ACTION_GROUP(actionGroup.get()));
    for (auto** name = listed; *name; ++name)
        actionNames.insert("app." + std::string(*name));
    g_strfreev(listed);
    EXPECT_EQ(actionNames, commandNames);
    std::set<std::string> named;
    collectActionNames(GTK_WIDGET(window->gobj()), named);
    EXPECT_GE(named.size(), 3u) << "The new-tab, settings and new-workspace buttons run commands";
    for (const auto& name : named)
        EXPECT_TRUE(commandNames.contains(name)) << name << " runs no command";

    GObjectPtr<GtkBuilder> builder(
        gtk_builder_new_from_string(shortcutsHelpDescription(*commandTable).c_str(), -1));
    std::vector<std::string> helped;
    GSList* objects = gtk_builder_get_objects(builder.get());
    for (auto* item = objects; item; item = item->next) {
        if (GTK_IS_SHORTCUTS_SHORTCUT(item->data)) {
            char* title = nullptr;
            g_object_get(item->data, "title", &title, nullptr);
            helped.emplace_back(GCharPtr(title).get());
        }
    }
    g_slist_free(objects);
    for (const auto& command : commandTable->commands()) {
        auto rows = std::ranges::count_if(
            helped, [&](const auto& title) { return title.starts_with(command->title); });
        EXPECT_TRUE(command->keys.empty() || rows == 1)
            << command->title << " is missing from the keyboard help";
    }
    gtk_window_destroy(GTK_WINDOW(gtk_builder_get_object(builder.get(), "help")));
}

} // namespace
} // namespace cohortex::testing
