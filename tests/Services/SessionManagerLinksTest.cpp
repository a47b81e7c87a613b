#include "Models/PageStackPlan.h"
#include "Services/SessionManagerFixture.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <fstream>

namespace cohortex {
namespace {

class SessionManagerLinksTest : public testing::ThreeWorkspacesFixture { };

TEST_F(SessionManagerLinksTest, RuleThenFallbackThenTheActiveWorkspaceAndNeverARemovedOne)
{
    routingRules.addRule("github.com", chat.id);
    EXPECT_EQ(manager->targetWorkspace(url("https://www.github.com/acme"))->id, chat.id);
    EXPECT_EQ(manager->targetWorkspace(url("https://example.org/"))->id, mail.id);
    manager->setLinkFallbackWorkspaceId(vault.id);
    EXPECT_EQ(manager->targetWorkspace(url("https://example.org/"))->id, vault.id);

    manager->addWorkspace("Gone", url("https://gone.example/"), "star", "#000000");
    auto gone = list().back();
    routingRules.addRule("gone.example", gone.id);
    manager->setLinkFallbackWorkspaceId(gone.id);
    // Removal clears the fallback; a fallback stored by an older version may still name a stranger.
    manager->removeWorkspace(gone.id);
    routingRules.addRule("gone.example", gone.id);
    manager->setLinkFallbackWorkspaceId(Uuid::random());
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
    manager->route(url("HTTPS://chat.example/room"));
    manager->route(url("https://chat.example/room"));
    queue.runPending();
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id);
    EXPECT_EQ(addresses(chat.id),
        (std::vector<std::string>{
            "https://2.example.com/", "HTTPS://chat.example/room", "https://chat.example/room" }));
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

    EXPECT_EQ(runtime.tabs(chat.id).size(), 501u);
    EXPECT_EQ(runtime.tabs(mail.id).size(), 501u);
    EXPECT_EQ(manager->activeWorkspaceId().get(), chat.id) << "The last link's workspace is shown";
    EXPECT_EQ(runtime.activeTab(chat.id)->url.absoluteString(), "https://chat.example/999");
    EXPECT_LE(defaults.writeCount() - writes, 3) << "Each link must not write the workspace list";
    auto pages = PageStackPlan::make({ list(), runtime.tabs().get(), runtime.activeTabID().get(), chat.id,
        false, &runtime.unshownTabs() });
    EXPECT_EQ(pages.pages.size(), 2u) << "Only the page loaded before and the shown link";
    EXPECT_EQ(runtime.tabs(chat.id).front().url, chat.initialURL);

    auto waiting = runtime.tabs(chat.id)[10];
    runtime.selectTab(waiting.id, chat.id);
    EXPECT_FALSE(runtime.unshownTabs().contains(waiting.id));
    runtime.sleep(chat.id);
    runtime.load(chat, queue.now());
    EXPECT_EQ(runtime.unshownTabs().size(), 999u) << "Hibernating does not load what was never shown";
}

TEST_F(SessionManagerLinksTest, ALinkToALockedWorkspaceIsDroppedWhenTheOwnerRefuses)
{
    routingRules.addRule("vault.example", vault.id);
    manager->route(url("https://vault.example/secret"));
    ASSERT_EQ(authenticator.openPrompts(), 1u);
    authenticator.answer(false);
    queue.runPending();
    EXPECT_EQ(manager->activeWorkspaceId().get(), mail.id);
    EXPECT_FALSE(runtime.isLoaded(vault.id));

    manager->route(url("https://vault.example/secret"));
    authenticator.answer(true);
    queue.runPending();
    EXPECT_EQ(manager->activeWorkspaceId().get(), vault.id);
    EXPECT_EQ(runtime.activeTab(vault.id)->url.absoluteString(), "https://vault.example/secret");
}

TEST_F(SessionManagerLinksTest, WaitsForTheStoreAndNeverRevivesAWorkspaceRemovedMeanwhile)
{
    stores.keepSessions = true;
    routingRules.addRule("chat.example", chat.id);
    manager->route(url("https://chat.example/a"));
    queue.runPending();
    EXPECT_FALSE(runtime.isLoaded(chat.id));
    stores.finishPreparing(chat.id);
    queue.runPending();
    EXPECT_EQ(runtime.tabs(chat.id).size(), 2u);

    routingRules.addRule("mail.example", mail.id);
    manager->route(url("https://mail.example/b"));
    manager->removeWorkspace(mail.id);
    stores.finishPreparing(mail.id);
    queue.runPending();
    EXPECT_FALSE(runtime.isLoaded(mail.id));
}

TEST_F(SessionManagerLinksTest, HandedOverFilesImportOnlyWorkspaceFilesInOrderWithLinks)
{
    TemporaryDirectory temporary;
    const auto& directory = temporary.path();
    std::ofstream(directory / "Team.COHORTEX") << "not a bundle";
    std::ofstream(directory / "notes.txt") << "plain text";
    manager->openURLs({ Url::fileURL((directory / "notes.txt").string(), false),
        url("https://chat.example/x"), Url::fileURL((directory / "Team.COHORTEX").string(), false) });
    queue.runPending();
    EXPECT_EQ(runtime.activeTab(mail.id)->url.absoluteString(), "https://chat.example/x");
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0], "Couldn't read that file|It isn't a valid Cohortex workspace file.");
}

} // namespace
} // namespace cohortex
