#include "Platform/Linux/SecretServiceStore.h"

#include "Engine/KeychainService.h"
#include "LogCapture.h"
#include "MainLoopWait.h"
#include "Platform/Linux/GLibMainQueue.h"
#include "RunProgram.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// These tests run only through the ctest entries that give them a private keyring (with-keyring sets
// COHORTEX_TEST_KEYRING=private) or a bus without one (COHORTEX_TEST_KEYRING=none); run any other way,
// they skip rather than write into the user's own keyring.

namespace cohortex {
namespace {

// What a real client finds for one account: `secret-tool search --all` lists one "[path]" line per item.
std::pair<int, std::string> foundWithSecretTool(const std::string& key)
{
    constexpr const char* service = "com.kestrelwick.cohortex.keychain";
    auto output = runProgram({ "secret-tool", "search", "--all", "service", service, "account", key }).output;
    int count = output.starts_with("[") ? 1 : 0;
    for (std::size_t at = 0; (at = output.find("\n[", at)) != std::string::npos; ++at)
        ++count;
    return { count, runProgram({ "secret-tool", "lookup", "service", service, "account", key }).output };
}

template <const char* keyring>
class KeyringTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* marker = std::getenv("COHORTEX_TEST_KEYRING");
        if (!marker || std::string_view(keyring) != marker)
            GTEST_SKIP() << "needs COHORTEX_TEST_KEYRING=" << keyring << "; ctest's keyring entries set it";
    }
    void TearDown() override
    {
        for (auto& message : log.messages()) {
            for (auto& secret : secrets)
                EXPECT_EQ(message.find(secret), std::string::npos) << "a secret reached the log: " << message;
        }
    }

    template <typename T>
    T wait(const Task<T>& task)
    {
        EXPECT_TRUE(runUntil([&] { return task.isDone(); }, 5))
            << "the keyring call did not finish within 5 s";
        if constexpr (!std::is_void_v<T>)
            return task.isDone() ? task.result() : T{};
    }
    std::string freshKey() { return "test_" + Uuid::random().string(); }
    std::string secret(std::string prefix)
    {
        return secrets.emplace_back(std::move(prefix) + Uuid::random().string());
    }

    GLibMainQueue queue;
    LogCapture log;
    SecretServiceStore store;
    KeychainService keychain{ store };
    std::vector<std::string> secrets;
};

constexpr char privateKeyring[] = "private";
constexpr char noKeyring[] = "none";
using SecretServiceStoreTest = KeyringTest<privateKeyring>;

TEST_F(SecretServiceStoreTest, ValuesWrittenHereAreWhatARealClientReadsBackInOneItemUntilRemoved)
{
    auto key = freshKey();
    ASSERT_TRUE(wait(keychain.set(secret("first-"), key)));
    const auto password = secret("pässwörd ");
    ASSERT_TRUE(wait(keychain.set(password, key)));
    EXPECT_EQ(foundWithSecretTool(key), std::pair(1, password));
    EXPECT_EQ(wait(keychain.get(key)), password);

    Bytes everyByte;
    for (int byte = 255; byte >= 0; --byte)
        everyByte.push_back(static_cast<std::uint8_t>(byte));
    ASSERT_TRUE(wait(keychain.set(everyByte, key)));
    EXPECT_EQ(wait(keychain.getData(key)).value_or(std::nullopt), everyByte);
    EXPECT_EQ(wait(keychain.get(key)), std::nullopt);

    EXPECT_TRUE(wait(keychain.remove(key)));
    EXPECT_EQ(foundWithSecretTool(key).first, 0);
    auto afterRemoval = wait(keychain.getData(key));
    EXPECT_TRUE(afterRemoval && !*afterRemoval);
    EXPECT_TRUE(log.messages().empty());
}

using NoSecretServiceTest = KeyringTest<noKeyring>;

// A blob read that fails is an error, not an absent blob: the cookie vault would save over it otherwise.
TEST_F(NoSecretServiceTest, ReadsGiveNothingOrAnErrorAndWritesFalseWithOneWarning)
{
    auto key = freshKey();
    auto start = std::chrono::steady_clock::now();

    EXPECT_FALSE(wait(keychain.set(secret("unsaved-"), key)));
    EXPECT_FALSE(wait(keychain.remove(key)));
    EXPECT_EQ(wait(keychain.get(key)), std::nullopt);
    EXPECT_FALSE(wait(keychain.getData(key)).has_value());

    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_EQ(log.messages().size(), 1u);
    EXPECT_NE(log.messages()[0].find("keyring"), std::string::npos);
}

} // namespace
} // namespace cohortex
