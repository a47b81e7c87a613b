#include "UI/MenuBar/MenuBarPanel.h"

#include "MenuBarFixture.h"

namespace cohortex {
namespace {

constexpr double timeout = 5;

// What the rows say is checked with the menu's model; here, that the panel shows it and each of its
// buttons does its own thing.
class MenuBarPanelTest : public testing::MenuBarFixture {
protected:
    void SetUp() override
    {
        MenuBarFixture::SetUp();
        panel = std::make_unique<MenuBarPanel>(MenuBarPanel::Dependencies{ *model, [this](const Uuid& id) {
                                                                              sessions->openWorkspace(
                                                                                  *sessions->workspace(id));
                                                                              sessions->showMainWindow();
                                                                          } });
        panel->set_application(s_application);
        panel->popUpAt({ 400, 10 });
        ASSERT_TRUE(runUntil([&] { return panel->get_mapped(); }, timeout));
    }
    void TearDown() override
    {
        panel.reset();
        MenuBarFixture::TearDown();
    }
    GtkWidget* root() const { return GTK_WIDGET(panel->gobj()); }
    std::vector<std::string> rowTexts(const std::string& name) const
    {
        return testing::shownTexts(testing::button(root(), name));
    }
    std::vector<std::string> rowIcons(const std::string& name) const
    {
        std::vector<std::string> icons;
        for (auto* image :
            testing::shownUnder(testing::button(root(), name), [](GtkWidget* w) { return GTK_IS_IMAGE(w); }))
            icons.emplace_back(gtk_image_get_icon_name(GTK_IMAGE(image)));
        return icons;
    }

    std::unique_ptr<MenuBarPanel> panel;
};

TEST_F(MenuBarPanelTest, RowsShowEachWorkspacesStateAsItChangesAndTheMemoryLine)
{
    setTitle(chat, "(250) Chat");
    setTitle(mail, "Mail");
    runtime.sleep(mail.id);
    runFor(0.05);
    EXPECT_EQ(rowTexts("Mail"), (std::vector<std::string>{ "Mail", "Ctrl+Alt+1" }));
    EXPECT_EQ(rowTexts("Chat"), (std::vector<std::string>{ "Chat", "99", "Ctrl+Alt+2" }));
    EXPECT_EQ(rowTexts("Vault"), (std::vector<std::string>{ "Vault", "Ctrl+Alt+3" }));
    // The workspace icon first, then the lock or the moon.
    EXPECT_EQ(
        rowIcons("Vault"), (std::vector<std::string>{ "mail-unread-symbolic", "changes-prevent-symbolic" }));
    EXPECT_EQ(rowIcons("Mail"),
        (std::vector<std::string>{ "mail-unread-symbolic", "weather-clear-night-symbolic" }));
    EXPECT_EQ(testing::shownTexts(root()).front(), "WORKSPACES");
    EXPECT_TRUE(testing::showsText(root(),
        "Using 0 MB now. You've switched workspaces 0 times, saving about 0 context-switching clicks."));
    runFor(0.2);
    testing::saveScreenshot(root(), "menu-bar-panel-rows");

    click(testing::button(root(), "Chat"));
    EXPECT_EQ(sessions->activeWorkspaceId().get(), chat.id);
    EXPECT_TRUE(runUntil([&] { return windows->isMainWindowVisible(); }, timeout));
    EXPECT_FALSE(panel->get_visible());
}

struct CommandCase {
    const char* name;
    const char* button;
    std::function<bool(const Presentation&, int quits)> ran;
};

class MenuBarPanelCommandTest : public MenuBarPanelTest,
                                public ::testing::WithParamInterface<CommandCase> { };

// Each button runs its command of the command table, then the panel gets out of the way.
TEST_P(MenuBarPanelCommandTest, RunsItsCommandAndCloses)
{
    click(testing::button(root(), GetParam().button));
    EXPECT_TRUE(runUntil([&] { return GetParam().ran(presentation, quits); }, timeout));
    EXPECT_FALSE(panel->get_visible());
}

INSTANTIATE_TEST_SUITE_P(Commands, MenuBarPanelCommandTest,
    ::testing::Values(CommandCase{ "QuickSwitcher", "Quick Switcher...",
                          [](const auto& shown, int) { return shown.showingQuickSwitcher().get(); } },
        CommandCase{ "NewWorkspace", "New Container Workspace...",
            [](const auto& shown, int) { return shown.showingCreateModal().get(); } },
        CommandCase{
            "Settings", "Settings...", [](const auto& shown, int) { return shown.showingSettings().get(); } },
        CommandCase{ "Quit", "Quit Cohortex", [](const auto&, int quits) { return quits == 1; } }),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace cohortex
