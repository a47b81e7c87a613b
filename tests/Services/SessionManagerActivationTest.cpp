#include "Services/SessionManagerFixture.h"

namespace cohortex {
namespace {

class SessionManagerActivationTest : public testing::ThreeWorkspacesFixture { };

TEST_F(SessionManagerActivationTest, ReactivatingTheActiveWorkspaceStampsIt)
{
    queue.advance(30);
    manager->openWorkspace(mail);
    EXPECT_EQ(list()[0].lastActiveAt, queue.now());
    EXPECT_EQ(storedList()[0].lastActiveAt, queue.now());
}

TEST_F(SessionManagerActivationTest, LockedWorkspaceAsksOnceAndLoadsOnlyAfterSuccess)
{
    manager->openWorkspace(vault);
    EXPECT_EQ(manager->activeWorkspaceId().get(), vault.id);
    EXPECT_FALSE(runtime.isLoaded(vault.id));
    manager->openWorkspace(vault);
    EXPECT_EQ(authenticator.openPrompts(), 1u);
    EXPECT_EQ(authenticator.reasons[0], "Unlock Vault in Cohortex");
    authenticator.answer(false);
    queue.runPending();
    EXPECT_TRUE(manager->needsUnlock(vault));
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
    EXPECT_FALSE(runtime.isLoaded(mail.id));

    stores.finishPreparing(mail.id);
    queue.runPending();
    EXPECT_TRUE(runtime.isLoaded(mail.id));
}

TEST_F(SessionManagerActivationTest, ShortcutOpensTheFirstWorkspaceWithThatNumber)
{
    for (auto name : { "Nine A", "Nine B", "Nine C" }) {
        manager->addWorkspace(name, *Url::parse("https://nine.example/"), "star", "#000000");
        auto added = list().back();
        added.shortcutIndex = 9;
        manager->updateWorkspace(added);
    }
    manager->openWorkspace(mail);
    manager->openWorkspace(std::int64_t{ 9 });
    EXPECT_EQ(manager->activeWorkspace()->name, "Nine A");
    manager->openWorkspace(std::int64_t{ 7 });
    EXPECT_EQ(manager->activeWorkspace()->name, "Nine A");
}

TEST_F(SessionManagerActivationTest, NewTabOpensTheInitialSiteAndWaitsForThePreparedStore)
{
    mail.currentURL = *Url::parse("https://elsewhere.example/");
    manager->updateWorkspace(mail);
    manager->newTabInActiveWorkspace();
    ASSERT_EQ(runtime.tabs(mail.id).size(), 2u);
    EXPECT_EQ(runtime.activeTab(mail.id)->url, mail.initialURL);

    stores.keepSessions = true;
    manager->openWorkspace(chat);
    manager->newTabInActiveWorkspace(*Url::parse("https://news.example/"));
    EXPECT_FALSE(runtime.isLoaded(chat.id));
    stores.finishPreparing(chat.id);
    queue.runPending();
    ASSERT_EQ(runtime.tabs(chat.id).size(), 2u);
    EXPECT_EQ(runtime.activeTab(chat.id)->url.absoluteString(), "https://news.example/");
}

TEST_F(SessionManagerActivationTest, SleepNowReloadsOnlyTheWorkspaceOnScreen)
{
    manager->showMainWindow();
    runtime.load(chat, queue.now());
    manager->sleepNow(mail);
    EXPECT_TRUE(runtime.isLoaded(mail.id));
    EXPECT_FALSE(runtime.sleeping().get().contains(mail.id));
    manager->sleepNow(chat);
    EXPECT_TRUE(runtime.sleeping().get().contains(chat.id));

    window.minimised = true;
    manager->sleepNow(mail);
    EXPECT_FALSE(runtime.isLoaded(mail.id));
}

TEST_F(SessionManagerActivationTest, ToggleHidesAWindowInFrontAndOtherwiseBringsItForward)
{
    manager->toggleMainWindow();
    EXPECT_EQ(window.shows, 1);
    EXPECT_TRUE(runtime.isLoaded(mail.id));
    manager->toggleMainWindow();
    EXPECT_EQ(window.hides, 1);

    manager->showMainWindow();
    window.applicationActive = false;
    manager->toggleMainWindow();
    EXPECT_EQ(window.hides, 1);
    EXPECT_EQ(window.shows, 3);
}

} // namespace
} // namespace cohortex
