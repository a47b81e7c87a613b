#include "UI/MenuBar/MenuBarPanel.h"

#include "MenuBarFixture.h"

namespace cohortex::testing {
namespace {

// What the rows say is checked with the menu's model; here, that the panel shows it and each of its
// buttons does its own thing.
class MenuBarPanelTest : public MenuBarFixture {
protected:
    void SetUp() override
    {
        MenuBarFixture::SetUp();
        popUp();
    }
    void TearDown() override
    {
        panel.reset();
        MenuBarFixture::TearDown();
    }
    void popUp()
    {
        panel = std::make_unique<MenuBarPanel>(MenuBarPanel::Dependencies{ *model, [this](const Uuid& id) {
                                                                              manager->openWorkspace(
                                                                                  *manager->workspace(id));
                                                                              manager->showMainWindow();
                                                                          } });
        panel->set_application(s_application);
        panel->popUpAt({ 400, 10 });
        ASSERT_TRUE(runUntil([&] { return panel->get_mapped(); }, timeout));
    }
    GtkWidget* root() const { return GTK_WIDGET(panel->gobj()); }

    std::unique_ptr<MenuBarPanel> panel;
};

TEST_F(MenuBarPanelTest, RowsShowEachWorkspacesStateAsItChangesAndOpenTheirWorkspace)
{
    EXPECT_EQ(shownTexts(button(root(), "Chat")), (std::vector<std::string>{ "Chat", "Ctrl+Alt+2" }));
    setTitle(chat, "(250) Chat");
    runFor(0.05);
    EXPECT_EQ(shownTexts(button(root(), "Chat")), (std::vector<std::string>{ "Chat", "99", "Ctrl+Alt+2" }));
    runFor(0.2);
    saveScreenshot(root(), "menu-bar-panel-rows");

    click(button(root(), "Chat"));
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
    EXPECT_TRUE(runUntil([&] { return windows->isMainWindowVisible(); }, timeout));
    EXPECT_FALSE(panel->get_visible());
}

// Each button runs its command of the command table, then the panel gets out of the way.
TEST_F(MenuBarPanelTest, EachButtonRunsItsCommandAndCloses)
{
    const std::vector<std::pair<const char*, std::function<bool()>>> buttons{
        { "Quick Switcher...", [&] { return presentation.showingQuickSwitcher().get(); } },
        { "New Container Workspace...", [&] { return presentation.showingCreateModal().get(); } },
        { "Settings...", [&] { return presentation.showingSettings().get(); } },
        { "Quit Cohortex", [&] { return quits == 1; } },
    };
    for (const auto& [name, ran] : buttons) {
        SCOPED_TRACE(name);
        ASSERT_NO_FATAL_FAILURE(popUp());
        click(button(root(), name));
        EXPECT_TRUE(runUntil(ran, timeout));
        EXPECT_FALSE(panel->get_visible());
        // The switcher's own keys would take the next command's place.
        presentation.setShowingQuickSwitcher(false);
    }
}

} // namespace
} // namespace cohortex::testing
