#include "Services/TeamSettingsTab.h"

#include "Services/SessionManagerFixture.h"

namespace cohortex {
namespace {

class TeamSettingsTabTest : public testing::ThreeWorkspacesFixture { };

// The window's flow covers a successful export and an import.
TEST_F(TeamSettingsTabTest, AnExportThatCannotBeWrittenSaysWhyInTheStatusLine)
{
    TeamSettingsTab tab(queue, *manager, *team);
    tab.exportTo(
        std::filesystem::temp_directory_path() / ("missing-" + Uuid::random().string()) / "Team.cohortex");
    queue.runPending();
    EXPECT_EQ(tab.status().get(), "Couldn't save: No such file or directory");
}

} // namespace
} // namespace cohortex
