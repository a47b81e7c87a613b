#include "Services/Presentation.h"

#include "Services/SessionManagerFixture.h"
#include "Services/SwitcherChoices.h"
#include "Support/ManualMainQueue.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

class PresentationTest : public ::testing::Test {
protected:
    ManualMainQueue queue;
    Presentation presentation{ queue };
    Uuid first = Uuid::random();
    Uuid second = Uuid::random();
};

TEST_F(PresentationTest, AnotherSheetWaitsForTheGapAfterTheOpenOneClosesAndTheSameOneStays)
{
    presentation.showCreateModal();
    presentation.showSettings();
    EXPECT_FALSE(presentation.showingCreateModal().get());
    queue.advance(0.449);
    EXPECT_FALSE(presentation.showingSettings().get());
    queue.advance(0.001);
    EXPECT_TRUE(presentation.showingSettings().get());

    // The sheet already shown is not closed and opened again.
    presentation.showSettings();
    EXPECT_TRUE(presentation.showingSettings().get());

    // Workspace settings wait the same way, also when another workspace's replace them.
    presentation.showWorkspaceSettings(first);
    queue.advance(Presentation::sheetGapSeconds);
    presentation.showWorkspaceSettings(second);
    EXPECT_FALSE(presentation.workspaceSettingsID().get());
    queue.advance(Presentation::sheetGapSeconds);
    EXPECT_EQ(presentation.workspaceSettingsID().get(), second);
}

class SwitcherChoicesTest : public testing::ThreeWorkspacesFixture {
protected:
    const Uuid& tab(const Uuid& workspaceId, std::size_t index) const
    {
        return runtime.tabs(workspaceId)[index].id;
    }
};

TEST_F(SwitcherChoicesTest, WorkspaceRowsAreFollowedByTabRowsOnlyFromTwoTabsOn)
{
    runtime.load(mail, queue.now());
    runtime.newTab(mail.id, *Url::parse("https://news.example/today"));
    runtime.newTab(mail.id, *Url::parse("about:blank"));
    runtime.updateTab(tab(mail.id, 0), mail.id, "(2) Inbox", std::nullopt);
    runtime.selectTab(tab(mail.id, 1), mail.id);
    runtime.load(chat, queue.now());

    std::vector<std::pair<std::string, std::string>> rows;
    for (const auto& item : switcherItems(*manager, runtime))
        rows.emplace_back(item.title, item.subtitle);
    std::vector<std::pair<std::string, std::string>> expected{ { "Mail", "news.example" },
        { "(2) Inbox", "Mail \u00b7 1.example.com" }, { "news.example", "Mail \u00b7 news.example" },
        { "tab", "Mail \u00b7 " }, { "Chat", "2.example.com" }, { "Vault", "3.example.com" } };
    EXPECT_EQ(rows, expected);
}

TEST_F(SwitcherChoicesTest, SelectingARowGoesThereAndClosesThePanel)
{
    presentation.setShowingQuickSwitcher(true);
    runtime.load(chat, queue.now());
    runtime.newTab(chat.id, *Url::parse("https://second.example/"));
    auto first = tab(chat.id, 0);
    selectSwitcherItem(*manager, runtime, presentation, SwitcherItem(chat.id, first, "t", "s"));
    EXPECT_FALSE(presentation.showingQuickSwitcher().get());
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
    EXPECT_EQ(runtime.activeTab(chat.id)->id, first);

    // A removed workspace only closes the panel.
    presentation.setShowingQuickSwitcher(true);
    selectSwitcherItem(
        *manager, runtime, presentation, SwitcherItem(Uuid::random(), std::nullopt, "Gone", ""));
    EXPECT_FALSE(presentation.showingQuickSwitcher().get());
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
}

} // namespace
} // namespace cohortex
