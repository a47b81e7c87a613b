#include "UI/MenuBar/MenuBarPanel.h"

#include "MenuBarFixture.h"
#include "integration/UI/Screenshot.h"

namespace cohortex {
namespace {

constexpr double timeout = 5;

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
    }
    void TearDown() override
    {
        panel.reset();
        MenuBarFixture::TearDown();
    }

    void popUp()
    {
        panel->popUpAt({ 400, 10 });
        ASSERT_TRUE(runUntil([&] { return panel->get_mapped(); }, timeout));
    }
    GtkWidget* root() const { return GTK_WIDGET(panel->gobj()); }
    // The texts of the row that shows the workspace's name, in order.
    std::vector<std::string> rowTexts(const std::string& name) const
    {
        auto* row = buttonShowing(root(), name);
        return row ? mappedTexts(row) : std::vector<std::string>{};
    }
    std::vector<std::string> rowIcons(const std::string& name) const
    {
        std::vector<std::string> icons;
        auto* row = buttonShowing(root(), name);
        if (!row)
            return icons;
        for (auto* image : mappedUnder(row, [](GtkWidget* w) { return GTK_IS_IMAGE(w); }))
            icons.emplace_back(gtk_image_get_icon_name(GTK_IMAGE(image)));
        return icons;
    }

    std::unique_ptr<MenuBarPanel> panel;
};

TEST_F(MenuBarPanelTest, RowsShowEachWorkspacesStateAndTheMemoryLine)
{
    setTitle(chat, "(250) Chat");
    setTitle(mail, "Mail");
    runtime.sleep(mail.id);
    ASSERT_NO_FATAL_FAILURE(popUp());

    EXPECT_EQ(rowTexts("Mail"), (std::vector<std::string>{ "Mail", "Ctrl+Alt+1" }));
    EXPECT_EQ(rowTexts("Chat"), (std::vector<std::string>{ "Chat", "99", "Ctrl+Alt+2" }));
    EXPECT_EQ(rowTexts("Vault"), (std::vector<std::string>{ "Vault", "Ctrl+Alt+3" }));
    // The workspace icon first, then the lock or the moon.
    EXPECT_EQ(
        rowIcons("Vault"), (std::vector<std::string>{ "mail-unread-symbolic", "changes-prevent-symbolic" }));
    EXPECT_EQ(rowIcons("Mail"),
        (std::vector<std::string>{ "mail-unread-symbolic", "weather-clear-night-symbolic" }));
    auto texts = mappedTexts(root());
    EXPECT_EQ(texts.front(), "WORKSPACES");
    EXPECT_NE(
        std::ranges::find(texts,
            "Using 0 MB now. You've switched workspaces 0 times, saving about 0 context-switching clicks."),
        texts.end());

    runFor(0.2);
    testing::saveScreenshot(root(), "menu-bar-panel-rows");

    // The panel follows what changes while it is open.
    setTitle(chat, "Chat");
    EXPECT_EQ(rowTexts("Chat"), (std::vector<std::string>{ "Chat", "Ctrl+Alt+2" }));
}

TEST_F(MenuBarPanelTest, ChoosingARowOpensItsWorkspaceInTheWindowAndClosesThePanel)
{
    ASSERT_NO_FATAL_FAILURE(popUp());
    click(buttonShowing(root(), "Chat"));
    EXPECT_EQ(sessions->activeWorkspaceId().get(), chat.id);
    EXPECT_TRUE(runUntil([&] { return isMainWindowShown(); }, timeout));
    EXPECT_FALSE(panel->get_visible());
}

class MenuBarPanelCommandTest;

struct CommandCase {
    const char* label;
    const char* button;
    std::function<bool(MenuBarPanelCommandTest&)> ran;
};

class MenuBarPanelCommandTest : public MenuBarPanelTest, public ::testing::WithParamInterface<CommandCase> {
public:
    Presentation& shown() { return presentation; }
    int quitCount() const { return quits; }
    bool windowShown() const { return isMainWindowShown(); }
};

// Each button runs its command of the command table, then the panel gets out of the way.
TEST_P(MenuBarPanelCommandTest, RunsItsCommandAndCloses)
{
    ASSERT_NO_FATAL_FAILURE(popUp());
    click(buttonShowing(root(), GetParam().button));
    EXPECT_TRUE(runUntil([&] { return GetParam().ran(*this); }, timeout));
    EXPECT_FALSE(panel->get_visible());
}

INSTANTIATE_TEST_SUITE_P(Commands, MenuBarPanelCommandTest,
    ::testing::Values(CommandCase{ "QuickSwitcher", "Quick Switcher...",
                          [](auto& t) { return t.windowShown() && t.shown().showingQuickSwitcher().get(); } },
        CommandCase{ "NewWorkspace", "New Container Workspace...",
            [](auto& t) { return t.windowShown() && t.shown().showingCreateModal().get(); } },
        CommandCase{ "Settings", "Settings...",
            [](auto& t) { return t.windowShown() && t.shown().showingSettings().get(); } },
        CommandCase{ "Quit", "Quit Cohortex", [](auto& t) { return t.quitCount() == 1; } }),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace cohortex
