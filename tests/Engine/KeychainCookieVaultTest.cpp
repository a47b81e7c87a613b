#include "Engine/KeychainCookieVault.h"

#include "Engine/KeychainService.h"
#include "Fakes/MemorySecretStore.h"
#include "Support/ManualMainQueue.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

class KeychainCookieVaultTest : public ::testing::Test {
protected:
    std::optional<Bytes> load(Uuid storage)
    {
        auto task = vault.load(storage);
        queue.runPending();
        EXPECT_TRUE(task.isDone() && task.result().has_value());
        return task.result().value_or(std::nullopt);
    }
    void save(std::optional<Bytes> blob, Uuid storage)
    {
        vault.save(std::move(blob), storage);
        queue.runPending();
    }

    ManualMainQueue queue;
    testing::MemorySecretStore store;
    KeychainService keychain{ store };
    KeychainCookieVault vault{ keychain };
};

TEST_F(KeychainCookieVaultTest, SavingReplacesAndSavingNothingDeletesTheItemOfTheStore)
{
    auto storage = *Uuid::parse("6ba7b810-9dad-11d1-80b4-00c04fd430c8");
    EXPECT_EQ(load(storage), std::nullopt);
    save(Bytes{ 1 }, storage);
    save(Bytes{ 2, 3 }, storage);
    EXPECT_EQ(load(storage), (Bytes{ 2, 3 }));
    EXPECT_EQ(load(Uuid::random()), std::nullopt);

    store.calls.clear();
    save(std::nullopt, storage);
    EXPECT_EQ(load(storage), std::nullopt);
    // Kept under the canonical storage identifier, where a later run looks for it.
    const std::string key = "session_cookies_6BA7B810-9DAD-11D1-80B4-00C04FD430C8";
    EXPECT_EQ(store.calls, (std::vector<std::string>{ "remove " + key, "read " + key }));
}

} // namespace
} // namespace cohortex
