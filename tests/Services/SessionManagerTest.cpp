#include "Services/SessionManagerFixture.h"

namespace cohortex {
namespace {

using ::testing::ElementsAre;

class SessionManagerTest : public testing::SessionManagerFixture { };

// A relaunch, too, starts on the first workspace, whichever was active.
TEST_F(SessionManagerTest, FirstLaunchStoresThePresetsAndEveryLaunchStartsOnTheFirst)
{
    auto manager = makeManager();
    const auto& list = manager->workspaces().get();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(storedList(), list);
    EXPECT_EQ(manager->activeWorkspaceId().get(), list[0].id);

    manager->openWorkspace(list[1]);
    manager.reset();
    EXPECT_EQ(makeManager()->activeWorkspace()->name, storedList()[0].name);
}

TEST_F(SessionManagerTest, UndecodableListIsKeptAsideBeforePresetsReplaceIt)
{
    auto good = workspace("Kept", 1);
    Json broken = good.toJson();
    broken.erase("storageIdentifier");
    auto text = Json::array({ good.toJson(), broken }).dump();
    storeBytes(text);

    auto manager = makeManager();
    EXPECT_EQ(storedList(), manager->workspaces().get());
    auto backupKey = std::string(keys::workspacesBackupPrefix)
        + std::to_string(static_cast<std::int64_t>(queue.now().secondsSinceReferenceDate()));
    auto backup = defaults.data(backupKey);
    ASSERT_TRUE(backup);
    EXPECT_EQ(std::string(backup->begin(), backup->end()), text);
}

TEST_F(SessionManagerTest, StoredPreferencesAreReadQuietlyAndOnesOfTheWrongKindGiveTheDefaults)
{
    defaults.setInteger(keys::sleepAfterMinutes, 0);
    defaults.setBoolean(keys::keepSessionsAfterQuit, false);
    auto manager = makeManager();
    EXPECT_EQ(manager->sleepAfterMinutes().get(), 0);
    EXPECT_FALSE(manager->keepSessionsAfterQuit().get());
    EXPECT_TRUE(log.calls.empty()) << "reading a preference must not run its change handling";

    defaults.setString(keys::sleepAfterMinutes, "15");
    defaults.setString(keys::linkFallback, "not a uuid");
    manager = makeManager();
    EXPECT_EQ(manager->sleepAfterMinutes().get(), 30);
    EXPECT_FALSE(manager->linkFallbackWorkspaceId().get());
}

TEST_F(SessionManagerTest, KeptLoginsOffErasesEverySavedSessionAndOnMarksOnlyLoadedStoresPrepared)
{
    storeList({ workspace("Loaded", 1), workspace("Asleep", 2) });
    auto manager = makeManager();
    runtime.load(manager->workspaces().get()[0], queue.now());
    log.clear();
    manager->setKeepSessionsAfterQuit(false);
    EXPECT_THAT(log.calls, ElementsAre("stores.forgetSavedSessions 2"));
    log.clear();
    manager->setKeepSessionsAfterQuit(true);
    EXPECT_THAT(log.calls, ElementsAre("stores.markPrepared Loaded"));
}

// An added workspace is stored, shown and loaded, with the next free shortcut up to nine.
TEST_F(SessionManagerTest, AddedWorkspacesAreShownAndTakeTheNextShortcutUpToNine)
{
    storeList({ workspace("One", 1), workspace("Three", 3) });
    auto manager = makeManager();
    manager->addWorkspace("Four", url("https://four.example.com/"), "star", "#FF0000");
    auto added = manager->workspaces().get().back();
    EXPECT_EQ(added.shortcutIndex, 4);
    EXPECT_EQ(manager->activeWorkspaceId().get(), added.id);
    EXPECT_EQ(storedList(), manager->workspaces().get());
    EXPECT_TRUE(runtime.isLoaded(added.id));

    added.shortcutIndex = 9;
    manager->updateWorkspace(added);
    manager->addWorkspace("Ten", url("https://ten.example.com/"), "star", "#FF0000");
    EXPECT_EQ(manager->workspaces().get().back().shortcutIndex, 9);
}

// A rename keeps the pages; a proxy change recreates the shown workspace's pages.
TEST_F(SessionManagerTest, OnlyAProxyChangeRecreatesPages)
{
    auto manager = makeManager();
    auto active = *manager->activeWorkspace();
    auto background = manager->workspaces().get()[1];
    runtime.load(active, queue.now());
    runtime.load(background, queue.now());
    traceRuntime();
    log.clear();
    active.name = "Renamed";
    manager->updateWorkspace(active);
    EXPECT_TRUE(log.calls.empty());

    active.proxyHost = "127.0.0.1";
    active.proxyPort = 1080;
    manager->updateWorkspace(active);
    EXPECT_THAT(
        log.calls, ElementsAre("stores.refreshProxy Renamed", "runtime.loaded 1", "runtime.loaded 2"));
}

TEST_F(SessionManagerTest, LockingALoadedWorkspaceKeepsItUsableButAnUnloadedOneAsks)
{
    auto manager = makeManager();
    auto loaded = manager->workspaces().get()[1];
    auto unloaded = manager->workspaces().get()[2];
    runtime.load(loaded, queue.now());
    loaded.requiresUnlock = true;
    unloaded.requiresUnlock = true;
    manager->updateWorkspace(loaded);
    manager->updateWorkspace(unloaded);
    EXPECT_FALSE(manager->needsUnlock(*manager->workspace(loaded.id)));
    EXPECT_TRUE(manager->needsUnlock(*manager->workspace(unloaded.id)));
}

TEST_F(SessionManagerTest, RemovingTheOnlyWorkspaceOrUpdatingAStrangerDoesNothing)
{
    storeList({ workspace("Only", 1) });
    auto manager = makeManager();
    log.clear();
    auto writes = defaults.writeCount();
    manager->removeWorkspace(manager->workspaces().get()[0].id);
    manager->updateWorkspace(workspace("Stranger", 2));
    EXPECT_EQ(manager->workspaces().get().size(), 1u);
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(defaults.writeCount(), writes);
}

TEST_F(SessionManagerTest, RemovalCleansUpEverythingKeyedByTheWorkspaceInOrder)
{
    auto manager = makeManager();
    auto first = manager->workspaces().get()[0];
    auto second = manager->workspaces().get()[1];
    manager->setLinkFallbackWorkspaceId(first.id);
    routingRules.addRule("mail.example.com", first.id);
    routingRules.addRule("chat.example.com", second.id);
    manager->ensureActiveLoaded();
    traceRuntime();
    log.clear();

    // The pages let go of the store before it is deleted; the next workspace then loads.
    manager->removeWorkspace(first.id);
    EXPECT_THAT(log.calls,
        ElementsAre("runtime.loaded 0", "stores.delete " + first.storageIdentifier.string(),
            "keychain.delete proxy_password_" + first.id.string(), "rules 1", "runtime.loaded 1"));
    EXPECT_EQ(routingRules.rules().get()[0].workspaceId, second.id);
    EXPECT_FALSE(defaults.contains(keys::linkFallback));
    EXPECT_EQ(manager->activeWorkspaceId().get(), second.id);
    EXPECT_EQ(storedList().size(), 2u);
}

} // namespace
} // namespace cohortex
