#include "UI/WorkspaceWindow/WorkspaceTabItem.h"
#include "WorkspaceWindowFixture.h"

#include <gmock/gmock.h>

namespace cohortex::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;

// What decides the badge, the icons, the close button and the menu's entries is checked with the items'
// model; here, that the items show it and that each control acts on its own workspace or tab.
class TabBarViewTest : public WorkspaceWindowFixture {
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
    GtkWidget* closeButton(const std::string& name)
    {
        itemView(name).setHovering(true);
        settle();
        return described(item(name), "Remove Workspace");
    }
    GtkWidget* menuEntry(const std::string& name, const std::string& entry)
    {
        itemView(name).popupMenu();
        settle();
        return button(item(name), entry);
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> result;
        for (const auto& workspace : manager->workspaces().get())
            result.push_back(workspace.name);
        return result;
    }
};

TEST_F(TabBarViewTest, ItemsShowTheUnreadCountAndTheStateAndATitleChangeTouchesOnlyItsOwnItem)
{
    const std::string sleeping = "Sleeping to save memory. Click to wake it.";
    EXPECT_NE(described(item("Vault"), "Locked"), nullptr);
    EXPECT_EQ(described(item("Mail"), "Locked"), nullptr);
    manager->newTabInActiveWorkspace(*Url::parse("about:blank"));
    settle();
    auto tabs = runtime.tabs(mail.id);
    ASSERT_EQ(tabs.size(), 2u);
    runtime.updateTab(tabs[1].id, mail.id, "Docs", std::nullopt);
    settle();
    std::vector<GtkWidget*> workspaceItems{ item("Mail"), item("Chat"), item("Vault") };
    GtkWidget* otherTab = tabButton("Docs");
    auto otherTabParts = shownUnder(otherTab, [](GtkWidget*) { return true; });

    runtime.updateTab(tabs[0].id, mail.id, "(7) Inbox", std::nullopt);
    settle();
    EXPECT_THAT(shownTexts(item("Mail")), ElementsAre("Mail", "7"));
    EXPECT_NE(described(item("Mail"), "7 unread"), nullptr);
    // Every item is the same widget as before, down to its parts.
    EXPECT_EQ(tabButton("Docs"), otherTab);
    EXPECT_EQ(shownUnder(otherTab, [](GtkWidget*) { return true; }), otherTabParts);
    EXPECT_EQ((std::vector<GtkWidget*>{ item("Mail"), item("Chat"), item("Vault") }), workspaceItems);
    runtime.updateTab(tabs[0].id, mail.id, "Inbox", std::nullopt);
    settle();
    EXPECT_THAT(shownTexts(item("Mail")), ElementsAre("Mail"));

    click(workspaceButton("Chat"));
    manager->sleepNow(mail);
    settle();
    EXPECT_NE(described(item("Mail"), sleeping), nullptr);
    click(workspaceButton("Vault"));
    authenticator.answer(true);
    settle();
    EXPECT_EQ(described(item("Vault"), "Locked"), nullptr);
}

TEST_F(TabBarViewTest, EachControlActsOnItsOwnWorkspaceOrTab)
{
    manager->newTabInActiveWorkspace(*Url::parse("about:blank"));
    settle();
    auto active = runtime.activeTab(mail.id)->id;
    click(described(contentArea(), "Close Tab"));
    ASSERT_EQ(runtime.tabs(mail.id).size(), 1u);
    EXPECT_NE(runtime.tabs(mail.id).front().id, active);
    click(described(root(), "New Container Workspace (Ctrl+Shift+N)"));
    EXPECT_TRUE(presentation.showingCreateModal().get());
    presentation.setShowingCreateModal(false);

    EXPECT_EQ(described(item("Chat"), "Remove Workspace"), nullptr) << "shown without hovering";
    alerts.answer = false;
    click(closeButton("Chat"));
    EXPECT_THAT(alerts.shown, ElementsAre(StartsWith("Remove Chat?|")));
    EXPECT_THAT(alerts.buttons, ElementsAre("Remove and Delete Logins|Cancel"));
    EXPECT_THAT(names(), ElementsAre("Mail", "Chat", "Vault"));

    alerts.answer = true;
    click(closeButton("Chat"));
    EXPECT_THAT(names(), ElementsAre("Mail", "Vault"));
    EXPECT_THAT(workspaceLabels(), ElementsAre("Mail", "Vault"));

    click(workspaceButton("Vault"));
    authenticator.answer(true);
    settle();
    ASSERT_TRUE(runtime.isLoaded(vault.id));
    click(menuEntry("Vault", "Lock Now"));
    EXPECT_FALSE(runtime.isLoaded(vault.id));
    EXPECT_NE(described(item("Vault"), "Locked"), nullptr);
    click(menuEntry("Mail", "Put to Sleep Now"));
    EXPECT_TRUE(runtime.sleeping().get().contains(mail.id));
    click(menuEntry("Mail", "Workspace Settings…"));
    EXPECT_EQ(presentation.workspaceSettingsID().get(), mail.id);
    click(menuEntry("Mail", "Remove…"));
    EXPECT_THAT(alerts.shown.back(), StartsWith("Remove Mail?|"));
    EXPECT_THAT(names(), ElementsAre("Vault"));
}

} // namespace
} // namespace cohortex::testing
