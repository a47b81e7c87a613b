#include "Fakes/RecordingConsole.h"
#include "Models/WorkspaceImport.h"
#include "Services/CommandRunner.h"
#include "Services/SessionManagerFixture.h"

#include <fstream>

namespace cohortex {
namespace {

// What a change in the table below may use.
struct Parts {
    SessionManager& manager;
    RoutingRules& rules;
    TimeTracker& timeTracker;
    ManualMainQueue& queue;
    testing::FakeAlerts& alerts;
    WorkspaceSession mail;
    WorkspaceSession chat;
    std::filesystem::path bundle;
};

// A change the user asked for that cannot be stored is reported as failed, and what the application
// shows stays what is stored: nothing the user sees is lost at the next launch, nothing is half done.
struct FailedWrite {
    const char* name;
    // Which key refuses writes; every key when empty.
    std::string failingKey;
    // Runs the change; true when it reported success.
    std::function<bool(Parts&)> change;
};

class SessionManagerWritesTest : public testing::ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        bundle = std::filesystem::temp_directory_path() / ("cohortex-writes-" + Uuid::random().string());
        auto design = workspace("Design", 1);
        std::ofstream(bundle, std::ios::binary) << WorkspaceBundle::make(std::vector{ design },
            std::vector{ RoutingRule{ Uuid::random(), "figma.example", design.id } }, queue.now())
                                                       .encoded();
    }
    void TearDown() override { std::filesystem::remove(bundle); }

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

    std::filesystem::path bundle;
};

class FailedWriteTest : public SessionManagerWritesTest,
                        public ::testing::WithParamInterface<FailedWrite> { };

TEST_P(FailedWriteTest, IsReportedAndLeavesWhatIsShownAsStored)
{
    routingRules.addRule("chat.example", chat.id);
    auto shownBefore = list();
    auto rulesBefore = routingRules.rules().get();
    if (GetParam().failingKey.empty())
        defaults.setFailWrites(true);
    else
        defaults.setFailWritesOf(GetParam().failingKey);

    Parts parts{ *manager, routingRules, timeTracker, queue, alerts, mail, chat, bundle };
    EXPECT_FALSE(GetParam().change(parts));
    queue.runPending();
    expectShownIsStored();
    EXPECT_EQ(list(), shownBefore);
    EXPECT_EQ(routingRules.rules().get(), rulesBefore);
}

// The import runs through the command line here; the window's import shares apply() with it.
bool importWithYes(Parts& parts)
{
    testing::RecordingConsole console;
    TeamSharing team(parts.queue, parts.manager, parts.rules, parts.alerts);
    CommandRunner runner(parts.manager, parts.timeTracker, team);
    auto invocation = parseCommandLine(
        std::vector<std::string>{ "--import-layout", parts.bundle.string(), "--yes" }, "/");
    auto status = runner.run(std::move(*invocation), console);
    parts.queue.runPending();
    EXPECT_EQ(console.errors,
        std::string(importFailedMessage) + "\n" + std::string(settingsNotWritableDetails) + "\n");
    EXPECT_EQ(console.output.find("Imported"), std::string::npos);
    return status.isDone() && status.result() == 0;
}

INSTANTIATE_TEST_SUITE_P(SessionManager, FailedWriteTest,
    ::testing::Values(FailedWrite{ "ImportOnAFullDisk", "", importWithYes },
        // The workspaces were stored, the rules not: the workspaces go again, so no rule-less half remains.
        FailedWrite{ "ImportWhoseRulesCannotBeStored", std::string(keys::routingRules), importWithYes },
        FailedWrite{ "AddRule", "", [](Parts& p) { return p.rules.addRule("mail.example", p.mail.id); } },
        FailedWrite{ "AddWorkspace", "",
            [](Parts& p) {
                return p.manager.addWorkspace("New", *Url::parse("https://n.example/"), "globe", "#000");
            } },
        FailedWrite{ "RenameWorkspace", "",
            [](Parts& p) {
                auto renamed = p.chat;
                renamed.name = "Talk";
                return p.manager.updateWorkspace(renamed);
            } },
        FailedWrite{ "RemoveWorkspace", "", [](Parts& p) { return p.manager.removeWorkspace(p.chat.id); } },
        FailedWrite{ "HibernationMinutes", "", [](Parts& p) { return p.manager.setSleepAfterMinutes(5); } },
        FailedWrite{ "KeptLogins", "", [](Parts& p) { return p.manager.setKeepSessionsAfterQuit(false); } },
        FailedWrite{
            "LinkFallback", "", [](Parts& p) { return p.manager.setLinkFallbackWorkspaceId(p.chat.id); } }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionManagerWritesTest, AWorkspaceThatCannotBeRemovedKeepsItsDataAndSecrets)
{
    defaults.setFailWrites(true);
    log.clear();
    EXPECT_FALSE(manager->removeWorkspace(chat.id));
    EXPECT_THAT(log.calls, ::testing::IsEmpty());
}

TEST_F(SessionManagerWritesTest, TheWindowsImportSaysWhenNothingCouldBeStored)
{
    defaults.setFailWrites(true);
    team->confirmAndImport(bundle);
    queue.runPending();
    ASSERT_EQ(alerts.shown.size(), 2u);
    EXPECT_EQ(alerts.shown.back(),
        std::string(importFailedMessage) + "|" + std::string(settingsNotWritableDetails));
    EXPECT_EQ(list().size(), 3u);
}

} // namespace
} // namespace cohortex
