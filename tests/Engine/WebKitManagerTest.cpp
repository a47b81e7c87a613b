#include "Engine/WebKitManagerFixture.h"

namespace cohortex::testing {
namespace {

using Strings = std::vector<std::string>;

class WebKitManagerTest : public WebKitManagerFixture { };

// Cookies are restored one at a time in blob order: the second is not set before the first is stored.
// The store's pages wait for all of them. The restored cookies themselves change the jar, and so may a
// page that loads early; none of that may save the half-filled jar over the blob being restored.
TEST_F(WebKitManagerTest, ConcurrentPreparesRestoreOnceInOrderAndNothingIsSavedMeanwhile)
{
    auto workspace = makeWorkspace();
    storeBlob(workspace, { sessionCookie("c"), sessionCookie("a"), sessionCookie("b") });
    Strings jarWhenDone[2];
    auto first = manager.prepare(workspace);
    auto second = manager.prepare(workspace);
    first.onDone([&] { jarWhenDone[0] = jarNames(workspace); });
    second.onDone([&] { jarWhenDone[1] = jarNames(workspace); });
    EXPECT_EQ(count("engine.setCookie c"), 1);
    EXPECT_EQ(count("engine.setCookie a"), 0);
    EXPECT_EQ(count("engine.holdPages"), 1) << "a page made meanwhile would go out without the logins";
    manager.pageFinishedLoading(workspace.id);

    queue.runPending();
    EXPECT_TRUE(first.isDone() && second.isDone());
    EXPECT_EQ(count("vault.load"), 1);
    EXPECT_EQ(jarWhenDone[0], (Strings{ "c", "a", "b" }));
    EXPECT_EQ(jarWhenDone[1], (Strings{ "c", "a", "b" }));
    EXPECT_TRUE(manager.prepare(workspace).isDone()) << "once prepared, a later caller returns at once";
    queue.advance(10);
    EXPECT_TRUE(vault.saves.empty());
}

// "Could not read" is not "nothing there": a save after either failure would encode an empty jar and
// delete the blob, signing the user out at the next launch.
TEST_F(WebKitManagerTest, AJarOrABlobThatCannotBeReadLeavesTheSavedLoginsAloneUntilTheUserClearsThem)
{
    auto unreadableJar = makeWorkspace("jar");
    storeBlob(unreadableJar, { sessionCookie("sid") });
    prepared(unreadableJar);
    engine.failsCookieReads = true;
    manager.saveSessionCookies({ unreadableJar });
    queue.advance(5);
    engine.failsCookieReads = false;

    auto workspace = makeWorkspace();
    storeBlob(workspace, { sessionCookie("sid") });
    vault.failsLoads = true;
    prepared(workspace);
    EXPECT_TRUE(manager.isPrepared(workspace)) << "The pages must not wait for ever";
    engine.pageSetsCookies(workspace.storageIdentifier, { sessionCookie("other") });
    manager.saveSessionCookies({ workspace });
    queue.advance(5);
    EXPECT_TRUE(vault.saves.empty());
    EXPECT_EQ(savedNames(unreadableJar), Strings{ "sid" });

    bool cleared = false;
    manager.clearWorkspaceData(workspace, [&] { cleared = true; });
    queue.runPending();
    ASSERT_TRUE(cleared);
    engine.pageSetsCookies(workspace.storageIdentifier, { sessionCookie("fresh") });
    queue.advance(5);
    EXPECT_EQ(savedNames(workspace), Strings{ "fresh" });
}

TEST_F(WebKitManagerTest, OnlyAStoredFalseTurnsKeptLoginsOffAndThenNothingIsRestoredOrSaved)
{
    defaults.setString(keys::keepSessionsAfterQuit, "false");
    EXPECT_TRUE(manager.keepSessionsEnabled()) << "a value of the wrong type";

    defaults.setBoolean(keys::keepSessionsAfterQuit, false);
    EXPECT_FALSE(manager.keepSessionsEnabled());
    auto workspace = makeWorkspace();
    storeBlob(workspace, { sessionCookie("sid") });
    EXPECT_TRUE(manager.prepare(workspace).isDone());
    manager.openStore(workspace);
    engine.pageSetsCookies(workspace.storageIdentifier, { sessionCookie("new") });
    manager.saveSessionCookies({ workspace });
    queue.advance(5);
    EXPECT_EQ(count("vault.load"), 0);
    EXPECT_TRUE(vault.saves.empty());
}

TEST_F(WebKitManagerTest, FiveChangesOneSecondApartGiveOneSaveOneAndAHalfSecondsAfterTheLast)
{
    auto workspace = makeWorkspace();
    prepared(workspace);
    for (int change = 0; change < 5; ++change) {
        engine.pageSetsCookies(workspace.storageIdentifier, { sessionCookie("c" + std::to_string(change)) });
        queue.advance(change < 4 ? 1 : 1.49);
    }
    EXPECT_TRUE(vault.saves.empty());
    queue.advance(0.01);
    ASSERT_EQ(vault.saves.size(), 1u);
    EXPECT_EQ(savedNames(workspace), (Strings{ "c0", "c1", "c2", "c3", "c4" }));
    queue.advance(10);
    EXPECT_EQ(vault.saves.size(), 1u);
}

TEST_F(WebKitManagerTest, SavesOnlyPreparedWorkspacesInListOrder)
{
    auto first = makeWorkspace("a");
    auto unprepared = makeWorkspace("b");
    auto last = makeWorkspace("c");
    for (const auto* workspace : { &first, &unprepared, &last })
        engine.jars[workspace->storageIdentifier] = { sessionCookie(workspace->name) };
    manager.markPrepared(last);
    manager.markPrepared(first);
    manager.saveSessionCookies({ last, unprepared, first });
    queue.runPending();
    EXPECT_EQ(vault.saves,
        (std::vector<std::pair<Uuid, bool>>{
            { last.storageIdentifier, true }, { first.storageIdentifier, true } }));
}

TEST_F(WebKitManagerTest, APendingSaveDiesWithItsManager)
{
    auto workspace = makeWorkspace();
    {
        WebKitManager shortLived(queue, defaults, engine, vault, passwords);
        shortLived.markPrepared(workspace);
        shortLived.openStore(workspace);
        engine.notifyChange(workspace.storageIdentifier);
        EXPECT_EQ(queue.pendingCount(), 1u);
    }
    // The engine outlives the manager and may still report changes.
    engine.notifyChange(workspace.storageIdentifier);
    queue.advance(5);
    EXPECT_TRUE(vault.saves.empty());
}

class WebKitManagerStoreTest : public WebKitManagerFixture { };

// Neither the save that was pending, nor the jar being read for a save, nor a later change or page load
// writes the blob of a deleted store again; a restoration under way stops.
TEST_F(WebKitManagerStoreTest, DeletingAStoreForgetsItAndItsBlobEvenWhileItsJarIsReadOrRestored)
{
    auto workspace = makeWorkspace();
    storeBlob(workspace, { sessionCookie("sid") });
    prepared(workspace);
    engine.pageSetsCookies(workspace.storageIdentifier, { sessionCookie("pending") });
    manager.saveSessionCookies({ workspace });
    manager.deleteWorkspaceStore(workspace.storageIdentifier);
    EXPECT_FALSE(vault.items().contains(workspace.storageIdentifier));
    EXPECT_FALSE(manager.isPrepared(workspace));
    engine.notifyChange(workspace.storageIdentifier);
    manager.pageFinishedLoading(workspace.id);
    queue.advance(10);
    EXPECT_EQ(vault.saves, (std::vector<std::pair<Uuid, bool>>{ { workspace.storageIdentifier, false } }));
    EXPECT_TRUE(engine.destroyed.contains(workspace.storageIdentifier));

    auto restored = makeWorkspace("b");
    storeBlob(restored, { sessionCookie("a"), sessionCookie("b"), sessionCookie("c") });
    auto preparing = manager.prepare(restored);
    manager.deleteWorkspaceStore(restored.storageIdentifier);
    queue.runPending();
    EXPECT_TRUE(preparing.isDone());
    EXPECT_EQ(count("engine.setCookie b"), 0);
    EXPECT_FALSE(manager.isPrepared(restored));
}

// A store still held by a page refuses removal: it is retried once a second, six times at most.
TEST_F(WebKitManagerStoreTest, RemovalRetriesOnceASecondSixTimesAtMost)
{
    for (int refusals : { 5, 6 }) {
        SCOPED_TRACE(refusals);
        auto storage = makeWorkspace().storageIdentifier;
        engine.refusalsLeft = refusals;
        engine.destroyAttempts.clear();
        auto start = queue.now();
        manager.deleteWorkspaceStore(storage);
        queue.advance(30);
        ASSERT_EQ(engine.destroyAttempts.size(), 6u);
        EXPECT_DOUBLE_EQ(engine.destroyAttempts.back().secondsSince(start), 6.0);
        EXPECT_EQ(engine.destroyed.contains(storage), refusals < 6);
        EXPECT_EQ(queue.pendingCount(), 0u);
    }
}

} // namespace
} // namespace cohortex::testing
