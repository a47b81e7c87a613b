#include "Models/PageStackPlan.h"
#include "Services/SessionManagerFixture.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <fstream>

namespace cohortex {
namespace {

class SessionManagerActivationTest : public testing::ThreeWorkspacesFixture { };

TEST_F(SessionManagerActivationTest, LockedWorkspaceAsksOnceAndLoadsOnlyAfterSuccess)
{
    manager->openWorkspace(vault);
    manager->openWorkspace(vault);
    EXPECT_EQ(manager->activeWorkspaceId().get(), vault.id);
    EXPECT_EQ(authenticator.openPrompts(), 1u);
    authenticator.answer(false);
    queue.runPending();
    manager->newTabInActiveWorkspace();
    EXPECT_FALSE(runtime.isLoaded(vault.id));

    manager->openWorkspace(vault);
    authenticator.answer(true);
    queue.runPending();
    EXPECT_TRUE(runtime.isLoaded(vault.id));
}

TEST_F(SessionManagerActivationTest, PagesWaitForTheStoreAndASwitchAwayCancelsTheLoad)
{
    stores.keepSessions = true;
    manager->openWorkspace(chat);
    EXPECT_FALSE(runtime.isLoaded(chat.id));
    manager->openWorkspace(mail);
    stores.finishPreparing(chat.id);
    queue.runPending();
    EXPECT_FALSE(runtime.isLoaded(chat.id));

    stores.finishPreparing(mail.id);
    queue.runPending();
    EXPECT_TRUE(runtime.isLoaded(mail.id));
}

TEST_F(SessionManagerActivationTest, NewTabWaitsForThePreparedStore)
{
    stores.keepSessions = true;
    manager->openWorkspace(chat);
    manager->newTabInActiveWorkspace(url("https://news.example/"));
    EXPECT_FALSE(runtime.isLoaded(chat.id));
    stores.finishPreparing(chat.id);
    queue.runPending();
    EXPECT_EQ(
        addresses(chat.id), (std::vector<std::string>{ "https://2.example.com/", "https://news.example/" }));
}

class SessionManagerLinksTest : public testing::ThreeWorkspacesFixture { };

TEST_F(SessionManagerLinksTest, RuleThenFallbackThenTheActiveWorkspaceAndNeverARemovedOne)
{
    routingRules.addRule("github.com", chat.id);
    manager->setLinkFallbackWorkspaceId(vault.id);
    EXPECT_EQ(manager->targetWorkspace(url("https://www.github.com/acme"))->id, chat.id);
    EXPECT_EQ(manager->targetWorkspace(url("https://example.org/"))->id, vault.id);

    manager->addWorkspace("Gone", url("https://gone.example/"), "star", "#000000");
    auto gone = list().back();
    manager->removeWorkspace(gone.id);
    // A rule or a fallback stored by an older version may still name a stranger.
    routingRules.addRule("gone.example", gone.id);
    manager->setLinkFallbackWorkspaceId(gone.id);
    manager->openWorkspace(chat);
    EXPECT_EQ(manager->targetWorkspace(url("https://gone.example/page"))->id, chat.id);
}

TEST_F(SessionManagerLinksTest, OpensEachWebLinkInANewTabAndBringsTheWindowForward)
{
    manager->route(url("mailto:ada@example.com"));
    manager->route(url("file:///etc/passwd"));
    queue.runPending();
    EXPECT_EQ(runtime.loadedCount(), 0u);
    EXPECT_EQ(window.shows, 0);

    routingRules.addRule("chat.example", chat.id);
    manager->route(url("https://chat.example/room"));
    queue.runPending();
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
    EXPECT_EQ(addresses(chat.id),
        (std::vector<std::string>{ "https://2.example.com/", "https://chat.example/room" }));
    EXPECT_GE(window.shows, 1);
}

// A script or a paste into a launcher can hand over a thousand links at once: each one a loading page
// would mean a web process each. Only the last is shown and gets a page; the others wait as tabs, and so
// does the start page of the workspace the links woke.
TEST_F(SessionManagerLinksTest, ManyLinksAtOnceGiveOnePageAndTabsThatLoadWhenSelected)
{
    routingRules.addRule("chat.example", chat.id);
    std::vector<Url> links;
    for (int index = 0; index < 1000; ++index)
        links.push_back(
            url((index % 2 ? "https://chat.example/" : "https://other.example/") + std::to_string(index)));
    auto writes = defaults.writeCount();
    manager->openURLs(links);
    queue.runPending();

    EXPECT_EQ(runtime.tabs(mail.id).size(), 501u);
    EXPECT_EQ(runtime.activeTab(chat.id)->url.absoluteString(), "https://chat.example/999");
    EXPECT_LE(defaults.writeCount() - writes, 3) << "Each link must not write the workspace list";
    auto pages = PageStackPlan::make({ list(), runtime.tabs().get(), runtime.activeTabID().get(), chat.id,
        false, &runtime.unshownTabs() });
    EXPECT_EQ(pages.pages.size(), 2u) << "Only the page loaded before and the shown link";
}

TEST_F(SessionManagerLinksTest, ALinkToALockedWorkspaceIsDroppedWhenTheOwnerRefuses)
{
    routingRules.addRule("vault.example", vault.id);
    manager->openURLs({ url("https://vault.example/1"), url("https://vault.example/2") });
    EXPECT_EQ(authenticator.openPrompts(), 1u);
    authenticator.answer(false);
    queue.runPending();
    EXPECT_EQ(manager->activeWorkspaceId().get(), mail.id);
    EXPECT_FALSE(runtime.isLoaded(vault.id));

    manager->route(url("https://vault.example/secret"));
    authenticator.answer(true);
    queue.runPending();
    EXPECT_EQ(runtime.activeTab(vault.id)->url.absoluteString(), "https://vault.example/secret");
}

// The engine holds the link's page until the saved logins are back, so the page is made while they are
// read; a restoration never started would leave the workspace signed out for the whole run.
TEST_F(SessionManagerLinksTest, LinksAreMadeWhileTheirStoresArePreparedAlsoInTheBackground)
{
    stores.keepSessions = true;
    routingRules.addRule("chat.example", chat.id);
    routingRules.addRule("mail.example", mail.id);
    manager->openURLs({ url("https://chat.example/a"), url("https://mail.example/b") });
    queue.runPending();
    EXPECT_EQ(runtime.tabs(chat.id).size(), 2u);
    EXPECT_EQ(runtime.activeTab(mail.id)->url.absoluteString(), "https://mail.example/b");
    EXPECT_EQ(std::ranges::count(log.calls, "stores.prepare Chat"), 1);
}

TEST_F(SessionManagerLinksTest, HandedOverFilesImportOnlyWorkspaceFilesInOrderWithLinks)
{
    TemporaryDirectory temporary;
    std::ofstream(temporary.path() / "Team.COHORTEX") << "not a bundle";
    std::ofstream(temporary.path() / "notes.txt") << "plain text";
    manager->openURLs({ Url::fileURL((temporary.path() / "notes.txt").string(), false),
        url("https://chat.example/x"), Url::fileURL((temporary.path() / "Team.COHORTEX").string(), false) });
    queue.runPending();
    EXPECT_EQ(runtime.activeTab(mail.id)->url.absoluteString(), "https://chat.example/x");
    EXPECT_EQ(alerts.shown,
        std::vector<std::string>{ "Couldn't read that file|It isn't a valid Cohortex workspace file." });
}

} // namespace
} // namespace cohortex
