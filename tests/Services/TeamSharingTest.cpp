#include "Services/TeamSharing.h"

#include "Services/SessionManagerFixture.h"
#include "Services/TeamSettingsTab.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <fstream>

namespace cohortex {
namespace {

class TeamSharingTest : public testing::ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        routingRules.addRule("mail.example", mail.id);
    }

    std::filesystem::path write(std::string_view name, std::string_view text)
    {
        auto file = directory / name;
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }

    void import(const std::filesystem::path& file)
    {
        team->confirmAndImport(file);
        queue.runPending();
    }

    TemporaryDirectory temporary;
    const std::filesystem::path& directory = temporary.path();
};

TEST_F(TeamSharingTest, ReimportingTheSameSetupAddsNoWorkspaceButReplacesItsRules)
{
    import(write("Mine.cohortex", team->exportData()));
    ASSERT_EQ(alerts.shown.size(), 2u);
    EXPECT_EQ(alerts.shown[0].substr(0, alerts.shown[0].find('|')), "Import 3 workspaces?");
    EXPECT_EQ(alerts.shown[1], "Nothing new to import|1 link rule added.");
    EXPECT_EQ(list().size(), 3u);
    EXPECT_EQ(routingRules.rules().get().size(), 1u);
}

TEST_F(TeamSharingTest, NewWorkspacesAreAppendedStoredAndLeftClosed)
{
    auto design = workspace("Design", 7);
    auto bundle = WorkspaceBundle::make(std::vector{ design },
        std::vector{ RoutingRule{ Uuid::random(), "figma.example", design.id } }, queue.now());
    import(write("Team.cohortex", bundle.encoded()));
    EXPECT_EQ(alerts.shown.back(), "Imported 1 workspace|1 link rule added.");
    ASSERT_EQ(storedList().size(), 4u);
    EXPECT_NE(list()[3].id, design.id);
    EXPECT_FALSE(runtime.isLoaded(list()[3].id));
}

TEST_F(TeamSharingTest, CancellingOrAnUnreadableFileChangesNothing)
{
    auto file = write("Mine.cohortex", team->exportData());
    alerts.answer = false;
    auto writes = defaults.writeCount();
    import(file);
    EXPECT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(defaults.writeCount(), writes);

    alerts.shown.clear();
    import(directory / "missing.cohortex");
    EXPECT_EQ(alerts.shown,
        std::vector<std::string>{ "Couldn't read that file|It isn't a valid Cohortex workspace file." });
    EXPECT_EQ(list().size(), 3u);
    EXPECT_GE(window.shows, 1);
}

// The window's flow covers a successful export.
TEST_F(TeamSharingTest, AnExportThatCannotBeWrittenSaysWhyInTheStatusLine)
{
    TeamSettingsTab tab(queue, *manager, *team);
    tab.exportTo(directory / "missing" / "Team.cohortex");
    queue.runPending();
    EXPECT_EQ(tab.status().get(), "Couldn't save: No such file or directory");
}

} // namespace
} // namespace cohortex
