#include "Services/TeamSettingsTab.h"

#include "Services/SessionManagerFixture.h"

namespace cohortex {
namespace {

class TeamSettingsTabTest : public testing::ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        tab = std::make_unique<TeamSettingsTab>(queue, *manager, *team);
        directory = std::filesystem::temp_directory_path() / ("cohortex-team-" + Uuid::random().string());
        std::filesystem::create_directories(directory);
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    std::unique_ptr<TeamSettingsTab> tab;
    std::filesystem::path directory;
};

// A file that cannot be written is reported in the status line with the system's reason; the window's
// flow covers a successful export and an import.
TEST_F(TeamSettingsTabTest, AnExportThatCannotBeWrittenSaysWhy)
{
    tab->exportTo(directory / "missing" / "Team.cohortex");
    queue.runPending();
    EXPECT_EQ(tab->status().get(), "Couldn't save: No such file or directory") << tab->status().get();
}

} // namespace
} // namespace cohortex
