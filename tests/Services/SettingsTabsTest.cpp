#include "Engine/KeychainService.h"
#include "Fakes/MemorySecretStore.h"
#include "Services/DefaultBrowser.h"
#include "Services/GeneralSettingsTab.h"
#include "Services/LinksSettingsTab.h"
#include "Services/LoginItem.h"
#include "Services/SessionManagerFixture.h"
#include "Services/TeamSharing.h"
#include "Services/TimeSettingsTab.h"
#include "Services/WorkspaceSettingsSaving.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <fstream>

namespace cohortex {
namespace {

using ::testing::ElementsAre;

class FakeLoginItem final : public LoginItem {
public:
    bool isEnabled() const override { return false; }
    bool setEnabled(bool) override { return true; }
};

class GeneralSettingsTabTest : public testing::ThreeWorkspacesFixture {
protected:
    std::unique_ptr<GeneralSettingsTab> makeTab()
    {
        return std::make_unique<GeneralSettingsTab>(*manager, loginItem, alerts,
            [this](const WorkspaceSession& workspace) { cleared.push_back(workspace.name); });
    }

    FakeLoginItem loginItem;
    std::vector<std::string> cleared;
};

TEST_F(GeneralSettingsTabTest, PurgeAsksThenClearsEveryWorkspaceAsleepOrLocked)
{
    auto tab = makeTab();
    alerts.answer = false;
    tab->purgeAllStorage();
    queue.runPending();
    EXPECT_TRUE(cleared.empty());

    alerts.answer = true;
    tab->purgeAllStorage();
    queue.runPending();
    // Nothing is loaded: every workspace is asleep, and the Vault is locked as well.
    EXPECT_THAT(cleared, ElementsAre("Mail", "Chat", "Vault"));
}

// The desktop's default-browser setting; the tests here do not change it.
class FakeDefaultBrowser final : public DefaultBrowser {
public:
    bool isDefaultBrowser() const override { return false; }
    Task<std::optional<std::string>> makeDefault() override { co_return std::nullopt; }
};

class LinksSettingsTabTest : public testing::ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        tab = std::make_unique<LinksSettingsTab>(*manager, routingRules, browser);
    }

    std::pair<std::string, RoutingReason> routing(const std::string& link) const
    {
        auto decision = manager->routingDecision(*Url::parse(link));
        return { decision->workspace.name, decision->reason };
    }

    FakeDefaultBrowser browser;
    std::unique_ptr<LinksSettingsTab> tab;
};

TEST_F(LinksSettingsTabTest, AddUsesTheChosenOrElseTheFirstWorkspace)
{
    tab->pattern = "https://www.GitHub.com/acme/";
    ASSERT_TRUE(tab->add());
    EXPECT_EQ(tab->pattern, "");
    EXPECT_EQ(routing("https://github.com/acme/repo"), std::pair(std::string("Mail"), RoutingReason::Rule));

    tab->chooseTarget(1);
    tab->pattern = "github.com/acme";
    ASSERT_TRUE(tab->add());
    EXPECT_EQ(routing("https://github.com/acme/repo"), std::pair(std::string("Chat"), RoutingReason::Rule));
}

class TimeSettingsTabTest : public testing::ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        tab = std::make_unique<TimeSettingsTab>(queue, *manager, timeTracker, alerts);
    }

    void work(const WorkspaceSession& workspace, int ticks)
    {
        for (int tick = 0; tick < ticks; ++tick)
            timeTracker.tick(workspace.id, true, true, 0, queue.now(), Calendar::current());
    }

    std::unique_ptr<TimeSettingsTab> tab;
};

// Writing the file and its names are proved through the command line's export.
TEST_F(TimeSettingsTabTest, TheExportFirstStoresThePendingTime)
{
    work(mail, 2);
    ASSERT_FALSE(defaults.contains(keys::timeLedger));
    tab->prepareExport();
    EXPECT_TRUE(defaults.contains(keys::timeLedger));
}

TEST_F(TimeSettingsTabTest, ClearingAsksFirstAndSaysWhenTheEmptyHistoryCannotBeStored)
{
    work(mail, 1);
    alerts.answer = false;
    tab->clearHistory();
    queue.runPending();
    EXPECT_FALSE(timeTracker.ledger()->days().empty());

    alerts.answer = true;
    defaults.setFailWrites(true);
    tab->clearHistory();
    queue.runPending();
    EXPECT_FALSE(timeTracker.ledger()->days().empty());
    EXPECT_TRUE(alerts.shown.back().starts_with(changeNotSavedMessage));

    defaults.setFailWrites(false);
    tab->clearHistory();
    queue.runPending();
    EXPECT_TRUE(timeTracker.ledger()->days().empty());
}

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

// An unreadable file is proved through the command line and the handed-over files.
TEST_F(TeamSharingTest, CancellingChangesNothing)
{
    auto file = write("Mine.cohortex", team->exportData());
    alerts.answer = false;
    auto writes = defaults.writeCount();
    import(file);
    EXPECT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(defaults.writeCount(), writes);
}

using ::testing::IsEmpty;
using testing::MemorySecretStore;

class WorkspaceSettingsSavingTest : public testing::ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        secrets.holdsAnswers = true;
    }
    std::string passwordKey() const { return "proxy_password_" + chat.id.string(); }
    WorkspaceSettingsForm proxyForm(std::string type, std::string port) const
    {
        WorkspaceSettingsForm form(chat);
        form.proxyType = std::move(type);
        form.proxyHost = "127.0.0.1";
        form.proxyPort = std::move(port);
        form.proxyUsername = "ann";
        form.proxyPassword = "s3cret";
        return form;
    }

    MemorySecretStore secrets;
    KeychainService keyring{ secrets };
};

TEST_F(WorkspaceSettingsSavingTest, ANewPasswordIsInTheKeyringBeforeTheProxyIsReapplied)
{
    auto form = proxyForm("http", "3128");
    log.clear();
    saveWorkspaceSettings(*manager, keyring, alerts, form.change());
    queue.runPending();
    EXPECT_THAT(log.calls, IsEmpty());

    secrets.answerNext();
    queue.runPending();
    secrets.answerNext();
    queue.runPending();
    EXPECT_THAT(secrets.calls, ElementsAre("remove " + passwordKey(), "store " + passwordKey()));
    EXPECT_THAT(log.calls, ElementsAre("stores.refreshProxy " + chat.name));
}

TEST_F(WorkspaceSettingsSavingTest, TurningTheProxyOffRemovesThePasswordAndReappliesEvenIfNothingElseChanged)
{
    WorkspaceSettingsForm form(chat);
    form.hasStoredPassword = true;
    log.clear();
    saveWorkspaceSettings(*manager, keyring, alerts, form.change());
    secrets.answerNext();
    queue.runPending();
    EXPECT_THAT(secrets.calls, ElementsAre("remove " + passwordKey()));
    EXPECT_THAT(log.calls, ElementsAre("stores.refreshProxy " + chat.name));
}

TEST_F(WorkspaceSettingsSavingTest, AFailedKeyringWriteStillSavesTheRecord)
{
    secrets.holdsAnswers = false;
    secrets.isAvailable = false;
    auto form = proxyForm("socks5", "1080");
    form.name = "Chat Renamed";
    saveWorkspaceSettings(*manager, keyring, alerts, form.change());
    queue.runPending();
    EXPECT_EQ(storedList()[1].name, "Chat Renamed");
    EXPECT_TRUE(secrets.items.empty());
}

} // namespace
} // namespace cohortex
