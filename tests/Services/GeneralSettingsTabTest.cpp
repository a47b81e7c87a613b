#include "Services/GeneralSettingsTab.h"

#include "Services/LoginItem.h"
#include "Services/SessionManagerFixture.h"

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

struct HibernationCase {
    std::size_t choice;
    std::int64_t minutes;
};

class GeneralSettingsHibernation : public GeneralSettingsTabTest,
                                   public ::testing::WithParamInterface<HibernationCase> { };

TEST_P(GeneralSettingsHibernation, EachOptionStoresItsMinutesAndShowsAgainForThem)
{
    auto tab = makeTab();
    // Start from a value no option shows, so that every option really changes the store.
    ASSERT_TRUE(manager->setSleepAfterMinutes(45));
    EXPECT_EQ(GeneralSettingsTab::hibernationChoice(45), std::nullopt);

    EXPECT_TRUE(tab->chooseHibernation(GetParam().choice));
    EXPECT_EQ(defaults.integer(keys::sleepAfterMinutes), GetParam().minutes);
    EXPECT_EQ(manager->sleepAfterMinutes().get(), GetParam().minutes);
    EXPECT_EQ(GeneralSettingsTab::hibernationChoice(GetParam().minutes), GetParam().choice);
}

INSTANTIATE_TEST_SUITE_P(Options, GeneralSettingsHibernation,
    ::testing::Values(HibernationCase{ 0, 0 }, HibernationCase{ 1, 5 }, HibernationCase{ 2, 15 },
        HibernationCase{ 3, 30 }, HibernationCase{ 4, 60 }, HibernationCase{ 5, 120 }));

struct LaunchCase {
    const char* name;
    bool systemEnabled;
    bool systemRefuses;
    bool wanted;
    bool shown;
    int requests;
};

class GeneralSettingsLaunchAtLogin : public GeneralSettingsTabTest,
                                     public ::testing::WithParamInterface<LaunchCase> { };

TEST_P(GeneralSettingsLaunchAtLogin, AsksOnlyForAChangeAndShowsTheRealStatusWhenRefused)
{
    loginItem.enabled = GetParam().systemEnabled;
    loginItem.refuses = GetParam().systemRefuses;
    auto tab = makeTab();
    EXPECT_EQ(tab->launchAtLogin(), GetParam().systemEnabled);

    tab->setLaunchAtLogin(GetParam().wanted);
    EXPECT_EQ(tab->launchAtLogin(), GetParam().shown);
    EXPECT_EQ(loginItem.requests, GetParam().requests);
    EXPECT_TRUE(alerts.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Changes, GeneralSettingsLaunchAtLogin,
    ::testing::Values(LaunchCase{ "OnAccepted", false, false, true, true, 1 },
        LaunchCase{ "OnRefused", false, true, true, false, 1 },
        LaunchCase{ "OffAccepted", true, false, false, false, 1 },
        LaunchCase{ "OffRefused", true, true, false, true, 1 },
        LaunchCase{ "AlreadyOn", true, true, true, true, 0 }),
    [](const auto& info) { return info.param.name; });

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
    EXPECT_EQ(alerts.shown.back(), "Purge All Storage?|This will log you out of all workspace containers.");
    EXPECT_EQ(alerts.buttons.back(), "Purge|Cancel");
}

} // namespace
} // namespace cohortex
