#include "Engine/KeychainCookieVault.h"

#include "Engine/KeychainService.h"
#include "Fakes/MemorySecretStore.h"
#include "Support/ManualMainQueue.h"

#include <gtest/gtest.h>
#include <memory>

namespace cohortex {
namespace {

// Both vaults keep the same contract; the keychain one is built over an in-memory keyring.
struct MemoryVaultFixture {
    MemoryCookieVault vault;
};

struct KeychainVaultFixture {
    testing::MemorySecretStore store;
    KeychainService keychain{ store };
    KeychainCookieVault vault{ keychain };
};

template <typename Fixture>
class CookieVaultContractTest : public ::testing::Test {
protected:
    std::optional<Bytes> load(Uuid storage)
    {
        auto task = fixture.vault.load(storage);
        queue.runPending();
        EXPECT_TRUE(task.isDone() && task.result().has_value());
        return task.result().value_or(std::nullopt);
    }
    void save(std::optional<Bytes> blob, Uuid storage)
    {
        auto task = fixture.vault.save(std::move(blob), storage);
        queue.runPending();
        EXPECT_TRUE(task.isDone());
    }

    ManualMainQueue queue;
    Fixture fixture;
    Uuid storage = Uuid::random();
};

using Vaults = ::testing::Types<MemoryVaultFixture, KeychainVaultFixture>;
TYPED_TEST_SUITE(CookieVaultContractTest, Vaults);

TYPED_TEST(CookieVaultContractTest, SavingReplacesAndSavingNothingDeletes)
{
    EXPECT_EQ(this->load(this->storage), std::nullopt);

    this->save(Bytes{ 1 }, this->storage);
    this->save(Bytes{ 2, 3 }, this->storage);
    EXPECT_EQ(this->load(this->storage), (Bytes{ 2, 3 }));
    EXPECT_EQ(this->load(Uuid::random()), std::nullopt);

    this->save(std::nullopt, this->storage);
    EXPECT_EQ(this->load(this->storage), std::nullopt);
    // Deleting what is not there is not an error either.
    this->save(std::nullopt, this->storage);
    EXPECT_EQ(this->load(this->storage), std::nullopt);
}

TEST(KeychainCookieVaultTest, BlobsAreKeptUnderTheCanonicalStorageIdentifier)
{
    ManualMainQueue queue;
    KeychainVaultFixture keychain;
    auto storage = *Uuid::parse("6ba7b810-9dad-11d1-80b4-00c04fd430c8");
    keychain.vault.save(Bytes{ 7 }, storage);
    queue.runPending();
    keychain.vault.save(std::nullopt, storage);
    queue.runPending();

    const std::string key = "session_cookies_6BA7B810-9DAD-11D1-80B4-00C04FD430C8";
    EXPECT_EQ(
        keychain.store.calls, (std::vector<std::string>{ "remove " + key, "store " + key, "remove " + key }));
}

} // namespace
} // namespace cohortex
