#include "Engine/KeychainService.h"

#include "Engine/KeychainCookieVault.h"
#include "Fakes/MemorySecretStore.h"
#include "Support/ManualMainQueue.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

using Calls = std::vector<std::string>;

class KeychainServiceTest : public ::testing::Test {
protected:
    template <typename T>
    T finish(const Task<T>& task)
    {
        queue.runPending();
        EXPECT_TRUE(task.isDone());
        return task.result();
    }

    ManualMainQueue queue;
    testing::MemorySecretStore store;
    KeychainService keychain{ store };
};

// Replacing an item is a removal, then an addition once the removal has answered.
TEST_F(KeychainServiceTest, SetAddsOnlyAfterTheDeleteHasAnswered)
{
    store.holdsAnswers = true;
    auto result = keychain.set(Bytes{ 1, 2, 3 }, "k");
    queue.runPending();
    EXPECT_EQ(store.calls, Calls{ "remove k" });

    store.answerNext();
    queue.runPending();
    EXPECT_EQ(store.calls, (Calls{ "remove k", "store k" }));
    EXPECT_FALSE(result.isDone());

    store.answerNext();
    EXPECT_TRUE(finish(result));
}

TEST_F(KeychainServiceTest, SetAnswersWhatTheAddAnswers)
{
    store.isAvailable = false;
    EXPECT_FALSE(finish(keychain.set(std::string("secret"), "k")));
    EXPECT_EQ(store.calls, (Calls{ "remove k", "store k" }));
    // Unreadable is an error, not an absent item, so that nobody saves over the item it could not read.
    EXPECT_FALSE(finish(keychain.getData("k")).has_value());
}

// Bytes that are not text are kept but read only as data; text that is not UTF-8 never reaches the keyring.
TEST_F(KeychainServiceTest, OnlyUtf8IsText)
{
    Bytes latin1{ 'c', 'a', 'f', 0xe9 };
    ASSERT_TRUE(finish(keychain.set(latin1, "k")));
    EXPECT_EQ(finish(keychain.get("k")), std::nullopt);
    EXPECT_EQ(finish(keychain.getData("k")), latin1);

    store.calls.clear();
    EXPECT_FALSE(finish(keychain.set(std::string("caf\xe9"), "k")));
    EXPECT_TRUE(store.calls.empty());
}

// A login blob is kept under the canonical storage identifier, where a later run looks for it; saving
// replaces it and saving nothing deletes it.
TEST_F(KeychainServiceTest, CookieBlobsAreReplacedAndDeletedUnderTheStoragesKey)
{
    KeychainCookieVault vault{ keychain };
    auto load = [&](Uuid storage) { return finish(vault.load(storage)).value_or(Bytes{ 0 }); };
    auto storage = *Uuid::parse("6ba7b810-9dad-11d1-80b4-00c04fd430c8");
    EXPECT_EQ(load(storage), std::nullopt);
    for (const auto& blob : { Bytes{ 1 }, Bytes{ 2, 3 } }) {
        vault.save(blob, storage);
        queue.runPending();
    }
    EXPECT_EQ(load(storage), (Bytes{ 2, 3 }));

    store.calls.clear();
    vault.save(std::nullopt, storage);
    queue.runPending();
    EXPECT_EQ(load(storage), std::nullopt);
    const std::string key = "session_cookies_6BA7B810-9DAD-11D1-80B4-00C04FD430C8";
    EXPECT_EQ(store.calls, (Calls{ "remove " + key, "read " + key }));
}

} // namespace
} // namespace cohortex
