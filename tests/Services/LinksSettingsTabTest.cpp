#include "Services/LinksSettingsTab.h"

#include "Services/DefaultBrowser.h"
#include "Services/SessionManagerFixture.h"

namespace cohortex {
namespace {

using ::testing::ElementsAre;

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

TEST_F(LinksSettingsTabTest, AddWithoutAChoiceOrWithARemovedOneUsesTheFirstWorkspaceAndEmptiesTheField)
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
}

TEST_F(LinksSettingsTabTest, ARuleThatCannotBeStoredKeepsTheTypedSite)
{
    tab->pattern = "github.com";
    defaults.setFailWrites(true);
    EXPECT_FALSE(tab->add());
    EXPECT_EQ(tab->pattern, "github.com");
    EXPECT_TRUE(routingRules.rules().get().empty());
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

} // namespace
} // namespace cohortex
