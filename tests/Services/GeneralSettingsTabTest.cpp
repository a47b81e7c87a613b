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

} // namespace
} // namespace cohortex
