#include "Fakes/RecordingConsole.h"
#include "Models/WorkspaceImport.h"
#include "Services/CommandRunner.h"
#include "Services/SessionManagerFixture.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <fstream>

namespace cohortex {
namespace {

class SessionManagerWritesTest : public testing::ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        auto design = workspace("Design", 1);
        std::ofstream(bundle, std::ios::binary) << WorkspaceBundle::make(std::vector{ design },
            std::vector{ RoutingRule{ Uuid::random(), "figma.example", design.id } }, queue.now())
                                                       .encoded();
    }

    // What a relaunch would show, compared with what is shown now.
    void expectShownIsStored()
    {
        EXPECT_EQ(list(), storedList());
        auto storedRules = defaults.data(keys::routingRules);
        EXPECT_EQ(routingRules.rules().get(),
            storedRules ? decodeRoutingRules(*storedRules).value_or(std::vector<RoutingRule>{})
                        : std::vector<RoutingRule>{});
        EXPECT_EQ(manager->sleepAfterMinutes().get(),
            defaults.integer(keys::sleepAfterMinutes).value_or(keys::defaultSleepAfterMinutes));
        EXPECT_EQ(manager->keepSessionsAfterQuit().get(),
            defaults.boolean(keys::keepSessionsAfterQuit).value_or(keys::defaultKeepSessionsAfterQuit));
        EXPECT_EQ(manager->linkFallbackWorkspaceId().get(),
            defaults.string(keys::linkFallback).and_then([](const auto& text) { return Uuid::parse(text); }));
    }

    // The import runs through the command line here; the window's import shares apply() with it.
    bool importWithYes()
    {
        testing::RecordingConsole console;
        CommandRunner runner(*manager, timeTracker, *team);
        auto status = runner.run(
            *parseCommandLine(std::vector<std::string>{ "--import-layout", bundle.string(), "--yes" }, "/"),
            console);
        queue.runPending();
        EXPECT_EQ(console.errors,
            std::string(importFailedMessage) + "\n" + std::string(settingsNotWritableDetails) + "\n");
        return status.isDone() && status.result() == 0;
    }

    TemporaryDirectory temporary;
    std::filesystem::path bundle = temporary.path() / "Team.cohortex";
};

// A change the user asked for that cannot be stored is reported as failed, and what the application
// shows stays what is stored: nothing the user sees is lost at the next launch, nothing is half done.
TEST_F(SessionManagerWritesTest, AFailedWriteIsReportedAndLeavesWhatIsShownAsStored)
{
    routingRules.addRule("chat.example", chat.id);
    auto shownBefore = list();
    auto rulesBefore = routingRules.rules().get();
    struct Change {
        const char* name;
        // Which key refuses writes; every key when empty.
        std::string failingKey;
        std::function<bool()> run;
    };
    auto renamed = chat;
    renamed.name = "Talk";
    for (const auto& [name, failingKey, run] :
        std::initializer_list<Change>{ { "import on a full disk", "", [&] { return importWithYes(); } },
            // The workspaces were stored, the rules not: the workspaces go again, so no rule-less half
            // remains.
            { "import whose rules cannot be stored", std::string(keys::routingRules),
                [&] { return importWithYes(); } },
            { "add a rule", "", [&] { return routingRules.addRule("mail.example", mail.id); } },
            { "add a workspace", "",
                [&] { return manager->addWorkspace("New", url("https://n.example/"), "globe", "#000"); } },
            { "rename a workspace", "", [&] { return manager->updateWorkspace(renamed); } },
            { "remove a workspace", "", [&] { return manager->removeWorkspace(chat.id); } } }) {
        SCOPED_TRACE(name);
        defaults.setFailWrites(failingKey.empty());
        defaults.setFailWritesOf(failingKey);
        EXPECT_FALSE(run());
        queue.runPending();
        expectShownIsStored();
        EXPECT_EQ(list(), shownBefore);
        EXPECT_EQ(routingRules.rules().get(), rulesBefore);
    }
}

} // namespace
} // namespace cohortex
