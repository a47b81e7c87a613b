#include "Services/Presentation.h"

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

TEST_F(PresentationTest, TheQuickSwitcherAndTheHelpAreNoSheets)
{
    presentation.setShowingQuickSwitcher(true);
    presentation.setShowingShortcutsHelp(true);
    presentation.showCreateModal();
    EXPECT_TRUE(presentation.showingCreateModal().get());
    EXPECT_TRUE(presentation.showingQuickSwitcher().get());
}

} // namespace
} // namespace cohortex
