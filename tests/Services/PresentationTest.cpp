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
};

TEST_F(PresentationTest, AnotherSheetWaitsForTheGapAfterTheOpenOneCloses)
{
    presentation.showCreateModal();
    presentation.showSettings();
    EXPECT_FALSE(presentation.showingCreateModal().get());
    queue.advance(0.449);
    EXPECT_FALSE(presentation.showingSettings().get());
    queue.advance(0.001);
    EXPECT_TRUE(presentation.showingSettings().get());
}

class SwitcherChoicesTest : public testing::ThreeWorkspacesFixture {
protected:
    const Uuid& tab(const Uuid& workspaceId, std::size_t index) const
    {
        return runtime.tabs(workspaceId)[index].id;
    }
};

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

    // A workspace removed while the panel showed only closes the panel.
    presentation.setShowingQuickSwitcher(true);
    selectSwitcherItem(
        *manager, runtime, presentation, SwitcherItem(Uuid::random(), std::nullopt, "Gone", ""));
    EXPECT_FALSE(presentation.showingQuickSwitcher().get());
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
}

} // namespace
} // namespace cohortex
