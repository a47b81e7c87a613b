#include "Engine/WebKitManagerFixture.h"

namespace cohortex::testing {
namespace {

using Strings = std::vector<std::string>;

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

TEST_F(WebKitManagerStoreTest, DeletingAStoreForgetsItAndItsBlob)
{
    auto workspace = makeWorkspace();
    storeBlob(workspace, { sessionCookie("sid") });
    manager.prepare(workspace);
    queue.runPending();
    engine.pageSetsCookies(workspace.storageIdentifier, { sessionCookie("pending") });

    manager.deleteWorkspaceStore(workspace.storageIdentifier);
    EXPECT_FALSE(vault.items().contains(workspace.storageIdentifier));
    EXPECT_FALSE(manager.isPrepared(workspace));
    // Neither the save that was pending nor a later change or page load writes the blob again.
    engine.notifyChange(workspace.storageIdentifier);
    manager.pageFinishedLoading(workspace.id);
    queue.advance(10);
    EXPECT_EQ(vault.saves, (std::vector<std::pair<Uuid, bool>>{ { workspace.storageIdentifier, false } }));
    EXPECT_TRUE(engine.destroyed.contains(workspace.storageIdentifier));
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
