#include "Services/MenuBarModel.h"

#include "Fakes/RecordingLauncher.h"
#include "Models/StillRunningNotice.h"
#include "Services/CommandTable.h"
#include "Services/DownloadList.h"
#include "Services/SessionManagerFixture.h"

namespace cohortex {
namespace {

class MenuBarModelTest : public testing::ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        model = std::make_unique<MenuBarModel>(*manager, runtime, resources);
        labels = model->label().changed().connect(
            [this](const MenuBarLabel& label) { publishedTotals.push_back(label.unreadTotal); });
    }

    void setTitle(const WorkspaceSession& workspace, std::string title)
    {
        runtime.load(workspace, Date(200));
        runtime.updateTab(
            runtime.tabs(workspace.id).front().id, workspace.id, std::move(title), std::nullopt);
    }

    std::unique_ptr<MenuBarModel> model;
    std::vector<std::int64_t> publishedTotals;
    ScopedConnection labels;
};

// Unread counts arrive as page titles. The desktop hears of the total only when it changes, not on every
// title a page sets.
TEST_F(MenuBarModelTest, TheLabelFollowsPageTitlesAndIsPublishedOnlyWhenTheTotalChanges)
{
    setTitle(mail, "(3) Inbox");
    setTitle(mail, "(3) Inbox - Mail");
    setTitle(chat, "[120] Chat");
    setTitle(chat, "Chat");
    runtime.sleep(mail.id);
    EXPECT_EQ(publishedTotals, (std::vector<std::int64_t>{ 3, 123, 3, 0 }));
}

// Every command the tray and the notification offer runs through the command table; a name that is not in
// it would leave a button that does nothing.
TEST_F(MenuBarModelTest, EveryCommandOfferedIsACommandOfTheTable)
{
    testing::RecordingLauncher launcher;
    DownloadList downloads(queue, launcher);
    CommandTable table({ *manager, presentation, window, downloads, [] {} });
    auto check = [&](std::string_view name) {
        const auto* command = table.find(name);
        ASSERT_NE(command, nullptr) << name;
        EXPECT_FALSE(command->takesArgument) << name;
    };
    for (const auto& command : MenuBarMenu::commands()) {
        if (command.commandName)
            check(*command.commandName);
        else
            EXPECT_FALSE(command.unavailableHelp.empty()) << command.label;
    }
    for (const auto& button : StillRunningNotice::notice().buttons)
        check(button.commandName);
    check(StillRunningNotice::notice().defaultCommandName);
}

} // namespace
} // namespace cohortex
