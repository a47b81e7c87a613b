#include "Engine/KeychainService.h"
#include "Fakes/MemorySecretStore.h"
#include "Services/DefaultBrowser.h"
#include "Services/GeneralSettingsTab.h"
#include "Services/LinksSettingsTab.h"
#include "Services/LoginItem.h"
#include "Services/SessionManagerFixture.h"
#include "Services/TeamSettingsTab.h"
#include "Services/TeamSharing.h"
#include "Services/TimeSettingsTab.h"
#include "Services/WorkspaceSettingsSaving.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <fstream>
#include <sstream>

namespace cohortex {
namespace {

using ::testing::ElementsAre;

// The system's login-item service, which may refuse a change.
class FakeLoginItem final : public LoginItem {
public:
    bool isEnabled() const override { return enabled; }
    bool setEnabled(bool wanted) override
    {
        ++requests;
        if (refuses)
            return false;
        enabled = wanted;
        return true;
    }

    bool enabled{ false };
    bool refuses{ false };
    int requests{ 0 };
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

TEST_F(GeneralSettingsTabTest, EachHibernationOptionStoresItsMinutesAndShowsAgainForThem)
{
    auto tab = makeTab();
    for (auto [choice, minutes] : std::initializer_list<std::pair<std::size_t, std::int64_t>>{
             { 0, 0 }, { 1, 5 }, { 2, 15 }, { 3, 30 }, { 4, 60 }, { 5, 120 } }) {
        // Start from a value no option shows, so that every option really changes the store.
        ASSERT_TRUE(manager->setSleepAfterMinutes(45));
        EXPECT_TRUE(tab->chooseHibernation(choice));
        EXPECT_EQ(defaults.integer(keys::sleepAfterMinutes), minutes);
        EXPECT_EQ(GeneralSettingsTab::hibernationChoice(minutes), choice);
    }
    EXPECT_EQ(GeneralSettingsTab::hibernationChoice(45), std::nullopt);
}

TEST_F(GeneralSettingsTabTest, LaunchAtLoginAsksOnlyForAChangeAndShowsTheRealStatusWhenRefused)
{
    struct Case {
        bool systemEnabled;
        bool systemRefuses;
        bool wanted;
        bool shown;
        int requests;
    };
    for (auto [systemEnabled, systemRefuses, wanted, shown, requests] : { Case{ false, false, true, true, 1 },
             Case{ false, true, true, false, 1 }, Case{ true, false, false, false, 1 },
             Case{ true, true, false, true, 1 }, Case{ true, true, true, true, 0 } }) {
        loginItem = FakeLoginItem{};
        loginItem.enabled = systemEnabled;
        loginItem.refuses = systemRefuses;
        auto tab = makeTab();
        tab->setLaunchAtLogin(wanted);
        EXPECT_EQ(tab->launchAtLogin(), shown) << systemEnabled << systemRefuses << wanted;
        EXPECT_EQ(loginItem.requests, requests) << systemEnabled << systemRefuses << wanted;
    }
    EXPECT_TRUE(alerts.shown.empty());
}

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

// The desktop's default-browser setting: answers the check, and fails a change when told to.
class FakeDefaultBrowser final : public DefaultBrowser {
public:
    bool isDefaultBrowser() const override { return isDefault; }
    Task<std::optional<std::string>> makeDefault() override
    {
        if (!failure)
            isDefault = true;
        co_return failure;
    }

    bool isDefault{ false };
    std::optional<std::string> failure;
};

class LinksSettingsTabTest : public testing::ThreeWorkspacesFixture {
protected:
    void SetUp() override
    {
        ThreeWorkspacesFixture::SetUp();
        tab = std::make_unique<LinksSettingsTab>(*manager, routingRules, browser);
    }

    // Where a link to the site opens now, and whether a rule chose it.
    std::pair<std::string, RoutingReason> routing(const std::string& link) const
    {
        auto decision = manager->routingDecision(*Url::parse(link));
        return { decision->workspace.name, decision->reason };
    }

    FakeDefaultBrowser browser;
    std::unique_ptr<LinksSettingsTab> tab;
};

TEST_F(LinksSettingsTabTest, AddIsOfferedOnlyForAPatternThatNamesASite)
{
    for (auto [pattern, names] : std::initializer_list<std::pair<const char*, bool>>{
             { "  \t ", false }, { "http://www.//", false }, { " HTTPS://www.GitHub.com/acme/ ", true } }) {
        routingRules.setRules({});
        tab->pattern = pattern;
        EXPECT_EQ(tab->canAdd(), names) << pattern;
        // Return in the field reaches add() whatever the button shows.
        EXPECT_TRUE(tab->add());
        EXPECT_EQ(routingRules.rules().get().size(), names ? 1u : 0u) << pattern;
    }
}

TEST_F(LinksSettingsTabTest, AddUsesTheChosenOrElseTheFirstWorkspaceAndEmptiesTheFieldOnceStored)
{
    tab->pattern = "https://www.GitHub.com/acme/";
    ASSERT_TRUE(tab->add());
    EXPECT_EQ(tab->pattern, "");
    EXPECT_EQ(routing("https://github.com/acme/repo"), std::pair(std::string("Mail"), RoutingReason::Rule));

    tab->chooseTarget(1);
    tab->pattern = "github.com/acme";
    ASSERT_TRUE(tab->add());
    EXPECT_EQ(routing("https://github.com/acme/repo"), std::pair(std::string("Chat"), RoutingReason::Rule));

    // A chosen workspace that was removed counts as no choice.
    ASSERT_TRUE(manager->removeWorkspace(chat.id));
    EXPECT_EQ(tab->targetIndex(), 0u);
    tab->pattern = "example.org";
    ASSERT_TRUE(tab->add());
    EXPECT_EQ(routing("https://example.org/"), std::pair(std::string("Mail"), RoutingReason::Rule));

    // A rule that cannot be stored keeps the typed site.
    tab->pattern = "example.net";
    defaults.setFailWrites(true);
    EXPECT_FALSE(tab->add());
    EXPECT_EQ(tab->pattern, "example.net");
}

TEST_F(LinksSettingsTabTest, RulesNameTheirWorkspaceOrSayItIsGone)
{
    routingRules.addRule("mail.example", mail.id);
    // Removing a workspace takes its rules along; a teammate's file can still name one that is gone.
    routingRules.addRule("chat.example", Uuid::random());
    auto rows = tab->ruleRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].workspaceName, "Mail");
    EXPECT_EQ(rows[1].workspaceName, "Removed workspace");
}

TEST_F(LinksSettingsTabTest, TheFallbackPickerStoresItsChoiceAndShowsAStaleOneAsTheCurrentWorkspace)
{
    EXPECT_THAT(tab->fallbackNames(), ElementsAre("The workspace I'm in", "Mail", "Chat", "Vault"));
    ASSERT_TRUE(tab->chooseFallback(2));
    EXPECT_EQ(tab->fallbackIndex(), 2u);
    EXPECT_EQ(routing("https://nowhere.example/"), std::pair(std::string("Chat"), RoutingReason::Fallback));

    ASSERT_TRUE(manager->setLinkFallbackWorkspaceId(Uuid::random()));
    EXPECT_EQ(tab->fallbackIndex(), 0u);
    ASSERT_TRUE(tab->chooseFallback(0));
    EXPECT_FALSE(defaults.contains(keys::linkFallback));
}

TEST_F(LinksSettingsTabTest, AFailedDefaultBrowserChangeSaysWhyUntilOneSucceeds)
{
    browser.failure = "The desktop file is not installed";
    tab->makeDefault();
    queue.runPending();
    EXPECT_FALSE(tab->isDefault());
    EXPECT_EQ(tab->message(), "Couldn't change it: The desktop file is not installed");

    browser.failure.reset();
    tab->makeDefault();
    queue.runPending();
    EXPECT_TRUE(tab->isDefault());
    EXPECT_EQ(tab->message(), "");
}

const Calendar berlin = *Calendar::inTimeZone("Europe/Berlin");
// 2025-03-05 10:00 in Berlin.
const Date morning = Date::fromUnixTime(1741165200);
constexpr double day = 86400;

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

TEST_F(TimeSettingsTabTest, OneRowPerWorkspaceInListOrderWithTodayAndTheSevenDaysEndingToday)
{
    TimeLedger ledger;
    ledger.add(65, mail.id, morning, berlin);
    ledger.add(3600, mail.id, morning.adding(-6 * day), berlin);
    ledger.add(3600, chat.id, morning.adding(-7 * day), berlin);
    ledger.add(600, Uuid::random(), morning, berlin);

    auto rows = TimeSettingsTab::rows(list(), ledger, morning, berlin);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "Mail");
    EXPECT_EQ(rows[0].today, "1m");
    EXPECT_EQ(rows[0].lastSevenDays, "1h 1m");
    // Time older than the seven days reads as nothing.
    EXPECT_EQ(rows[1].lastSevenDays, "0m");
}

TEST_F(TimeSettingsTabTest, TheExportStoresThePendingTimeAndWritesItWithTodaysNames)
{
    work(mail, 2);
    ASSERT_FALSE(defaults.contains(keys::timeLedger));
    tab->prepareExport();
    EXPECT_TRUE(defaults.contains(keys::timeLedger));

    auto renamed = mail;
    renamed.name = "Post";
    ASSERT_TRUE(manager->updateWorkspace(renamed));
    auto file
        = std::filesystem::temp_directory_path() / ("cohortex-time-" + Uuid::random().string() + ".csv");
    tab->exportCsv(file);
    queue.runPending();
    std::stringstream written;
    written << std::ifstream(file).rdbuf();
    std::filesystem::remove(file);
    EXPECT_NE(written.str().find(",Post,"), std::string::npos);
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
    EXPECT_EQ(alerts.shown.back().substr(0, alerts.shown.back().find('|')), changeNotSavedMessage);

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

    MemorySecretStore secrets;
    KeychainService keyring{ secrets };
};

TEST_F(WorkspaceSettingsSavingTest, ANewPasswordIsInTheKeyringBeforeTheProxyIsReapplied)
{
    WorkspaceSettingsForm form(chat);
    form.proxyType = "http";
    form.proxyHost = "127.0.0.1";
    form.proxyPort = "3128";
    form.proxyUsername = "ann";
    form.proxyPassword = "s3cret";
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
    WorkspaceSettingsForm form(chat);
    form.name = "Chat Renamed";
    form.proxyType = "socks5";
    form.proxyHost = "127.0.0.1";
    form.proxyPort = "1080";
    form.proxyUsername = "ann";
    form.proxyPassword = "s3cret";
    saveWorkspaceSettings(*manager, keyring, alerts, form.change());
    queue.runPending();
    EXPECT_EQ(storedList()[1].name, "Chat Renamed");
    EXPECT_TRUE(secrets.items.empty());
}

} // namespace
} // namespace cohortex
