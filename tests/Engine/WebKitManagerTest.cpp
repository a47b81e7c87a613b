#include "Engine/WebKitManagerFixture.h"

namespace cohortex::testing {
namespace {

using Strings = std::vector<std::string>;

class WebKitManagerTest : public WebKitManagerFixture { };

// Cookies are restored one at a time in blob order: the second is not set before the first is stored.
// The restored cookies themselves change the jar, and so may a page that loads early; none of that may
// save the half-filled jar over the blob being restored.
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

TEST_F(WebKitManagerTest, SavesOnlyPreparedWorkspacesOneAfterAnotherInListOrder)
{
    auto first = makeWorkspace("a");
    auto unprepared = makeWorkspace("b");
    auto last = makeWorkspace("c");
    for (const auto* workspace : { &first, &unprepared, &last })
        engine.jars[workspace->storageIdentifier] = { sessionCookie(workspace->name) };
    manager.markPrepared(last);
    manager.markPrepared(first);
    manager.saveSessionCookies({ last, unprepared, first });
    // The second jar is not read before the first one's blob was handed over.
    EXPECT_EQ(count("engine.allCookies"), 1);
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

// A jar of only persistent cookies saves as nothing, which deletes the blob the previous run left.
TEST_F(WebKitManagerStoreTest, APageLoadCountsAsAChangeOnlyOnceTheWorkspacesStoreIsOpen)
{
    auto workspace = makeWorkspace();
    storeBlob(workspace, { sessionCookie("old") });
    manager.markPrepared(workspace);
    manager.pageFinishedLoading(workspace.id);
    EXPECT_EQ(queue.pendingCount(), 0u);

    manager.openStore(workspace);
    engine.jars[workspace.storageIdentifier] = { persistentCookie("remember") };
    manager.pageFinishedLoading(workspace.id);
    queue.advance(1.5);
    EXPECT_EQ(count("vault.load"), 0) << "a store marked prepared is saved without being restored";
    EXPECT_EQ(vault.saves, (std::vector<std::pair<Uuid, bool>>{ { workspace.storageIdentifier, false } }));
}

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
    struct Case {
        int refusals;
        std::size_t expectedAttempts;
        bool isRemoved;
    };
    for (auto [refusals, expectedAttempts, isRemoved] :
        { Case{ 0, 1, true }, Case{ 5, 6, true }, Case{ 6, 6, false } }) {
        SCOPED_TRACE(refusals);
        auto storage = makeWorkspace().storageIdentifier;
        engine.refusalsLeft = refusals;
        engine.destroyAttempts.clear();
        auto start = queue.now();
        manager.deleteWorkspaceStore(storage);
        queue.advance(0.99);
        EXPECT_TRUE(engine.destroyAttempts.empty());
        queue.advance(30);

        ASSERT_EQ(engine.destroyAttempts.size(), expectedAttempts);
        for (std::size_t attempt = 0; attempt < engine.destroyAttempts.size(); ++attempt)
            EXPECT_DOUBLE_EQ(engine.destroyAttempts[attempt].secondsSince(start), attempt + 1.0) << attempt;
        EXPECT_EQ(engine.destroyed.contains(storage), isRemoved);
        EXPECT_EQ(queue.pendingCount(), 0u);
    }
}

TEST_F(WebKitManagerStoreTest, WipingDeletesTheBlobThenAllDataThenCompletesOnTheQueue)
{
    auto workspace = makeWorkspace();
    storeBlob(workspace, { sessionCookie("sid") });
    manager.openStore(workspace);
    engine.jars[workspace.storageIdentifier] = { persistentCookie("remember") };
    engine.events.clear();

    manager.clearWorkspaceData(workspace, [&] { engine.events.push_back("completion"); });
    EXPECT_EQ(engine.events, (Strings{ "vault.delete", "engine.removeAllData" }));
    queue.runPending();
    EXPECT_EQ(engine.events,
        (Strings{ "vault.delete", "engine.removeAllData", "engine.removeAllData done", "completion" }));
    EXPECT_TRUE(jarNames(workspace).empty());
    EXPECT_FALSE(vault.items().contains(workspace.storageIdentifier));
}

TEST_F(WebKitManagerStoreTest, ForgettingDeletesEveryBlobButKeepsStoresPrepared)
{
    auto first = makeWorkspace("a");
    auto second = makeWorkspace("b");
    storeBlob(first, { sessionCookie("a") });
    storeBlob(second, { sessionCookie("b") });
    manager.markPrepared(first);
    std::vector<WorkspaceSession> both{ first, second };
    manager.forgetSavedSessions(both);
    queue.runPending();
    EXPECT_TRUE(vault.items().empty());
    EXPECT_TRUE(manager.isPrepared(first));
    EXPECT_FALSE(manager.isPrepared(second));
}

} // namespace
} // namespace cohortex::testing
