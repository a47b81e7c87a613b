#include "Platform/Linux/SecretServiceStore.h"

#include "Engine/KeychainCookieVault.h"
#include "Engine/KeychainService.h"
#include "Engine/SessionCookieCodec.h"
#include "LogCapture.h"
#include "Platform/Linux/GLibMainQueue.h"

#include <chrono>
#include <cstdlib>
#include <glib.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <vector>

// These tests run only through the ctest entries that give them a private keyring (with-keyring sets
// COHORTEX_TEST_KEYRING=private) or a bus without one (COHORTEX_TEST_KEYRING=none); run any other way,
// they skip rather than write into the user's own keyring.

namespace cohortex {
namespace {

constexpr const char* serviceName = "com.kestrelwick.cohortex.keychain";

struct MainLoopUnref {
    void operator()(GMainLoop* loop) const { g_main_loop_unref(loop); }
};
struct CharFree {
    void operator()(char* text) const { g_free(text); }
};
using CharPtr = std::unique_ptr<char, CharFree>;

struct ToolResult {
    int exitStatus{ -1 };
    std::string output;
};

// Runs a real keyring client, as a user's own tools would read our items.
ToolResult secretTool(std::vector<std::string> arguments)
{
    std::vector<char*> argv{ const_cast<char*>("secret-tool") };
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    char* output = nullptr;
    char* errors = nullptr;
    int waitStatus = 0;
    bool started = g_spawn_sync(nullptr, argv.data(), nullptr, G_SPAWN_SEARCH_PATH, nullptr, nullptr, &output,
        &errors, &waitStatus, nullptr);
    CharPtr ownedOutput(output);
    CharPtr ownedErrors(errors);
    if (!started)
        return {};
    return { WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1, output ? output : "" };
}

std::string lookedUpWithSecretTool(const std::string& key)
{
    return secretTool({ "lookup", "service", serviceName, "account", key }).output;
}

// Items for one account, as `secret-tool search --all` lists them: one "[path]" line per item.
int itemCount(const std::string& key)
{
    auto result = secretTool({ "search", "--all", "service", serviceName, "account", key });
    int count = 0;
    for (std::size_t at = 0; (at = result.output.find("\n[", at)) != std::string::npos; ++at)
        ++count;
    return count + (result.output.starts_with("[") ? 1 : 0);
}

class KeyringTest : public ::testing::Test {
protected:
    explicit KeyringTest(const char* keyring)
        : m_keyring(keyring)
    {
    }

    void SetUp() override
    {
        auto* marker = std::getenv("COHORTEX_TEST_KEYRING");
        if (!marker || m_keyring != marker)
            GTEST_SKIP() << "needs COHORTEX_TEST_KEYRING=" << m_keyring << "; ctest's keyring entries set it";
    }

    void TearDown() override
    {
        for (auto& message : log.messages()) {
            for (auto& secret : secrets)
                EXPECT_EQ(message.find(secret), std::string::npos) << "a secret reached the log: " << message;
        }
    }

    // Runs the main loop until the task is done; a keyring that does not answer fails the test in 5 s.
    template <typename T>
    T wait(const Task<T>& task)
    {
        bool timedOut = false;
        auto limit = queue.postAfter(5, [&] {
            timedOut = true;
            g_main_loop_quit(m_loop.get());
        });
        task.onDone([this](auto&&...) { g_main_loop_quit(m_loop.get()); });
        g_main_loop_run(m_loop.get());
        limit.cancel();
        EXPECT_FALSE(timedOut) << "the keyring call did not finish within 5 s";
        if constexpr (!std::is_void_v<T>)
            return task.isDone() ? task.result() : T{};
    }

    std::string freshKey() { return "test_" + Uuid::random().string(); }

    std::string m_keyring;
    std::unique_ptr<GMainLoop, MainLoopUnref> m_loop{ g_main_loop_new(nullptr, false) };
    GLibMainQueue queue;
    LogCapture log;
    SecretServiceStore store;
    KeychainService keychain{ store };
    // Every secret a test writes; none of them may appear in a log line.
    std::vector<std::string> secrets;
};

class SecretServiceStoreTest : public KeyringTest {
protected:
    SecretServiceStoreTest()
        : KeyringTest("private")
    {
    }

    void TearDown() override
    {
        KeyringTest::TearDown();
        EXPECT_TRUE(log.messages().empty());
    }
};

TEST_F(SecretServiceStoreTest, AValueWrittenHereIsWhatARealClientReadsBack)
{
    auto key = freshKey();
    secrets.push_back("pässwörd " + Uuid::random().string());

    ASSERT_TRUE(wait(keychain.set(secrets[0], key)));

    EXPECT_EQ(lookedUpWithSecretTool(key), secrets[0]);
    EXPECT_EQ(wait(keychain.get(key)), secrets[0]);
    EXPECT_EQ(wait(keychain.get(freshKey())), std::nullopt);
}

TEST_F(SecretServiceStoreTest, SettingTwiceLeavesOneItemWithTheSecondValue)
{
    auto key = freshKey();
    secrets = { "first-" + Uuid::random().string(), "second-" + Uuid::random().string() };

    ASSERT_TRUE(wait(keychain.set(secrets[0], key)));
    ASSERT_TRUE(wait(keychain.set(secrets[1], key)));

    EXPECT_EQ(itemCount(key), 1);
    EXPECT_EQ(lookedUpWithSecretTool(key), secrets[1]);
}

TEST_F(SecretServiceStoreTest, RemovingAnswersTrueAlsoWhenNothingWasStored)
{
    auto key = freshKey();
    secrets.push_back("to-be-removed-" + Uuid::random().string());
    EXPECT_TRUE(wait(keychain.remove(key)));

    ASSERT_TRUE(wait(keychain.set(secrets[0], key)));
    EXPECT_TRUE(wait(keychain.remove(key)));

    EXPECT_EQ(itemCount(key), 0);
    EXPECT_EQ(wait(keychain.getData(key)), std::nullopt);
}

TEST_F(SecretServiceStoreTest, BinaryDataRoundTripsByteForByte)
{
    auto key = freshKey();
    Bytes everyByte;
    for (int byte = 255; byte >= 0; --byte)
        everyByte.push_back(static_cast<std::uint8_t>(byte));

    ASSERT_TRUE(wait(keychain.set(everyByte, key)));

    EXPECT_EQ(wait(keychain.getData(key)), everyByte);
    EXPECT_EQ(wait(keychain.get(key)), std::nullopt);
}

TEST_F(SecretServiceStoreTest, SessionCookiesSurviveTheVault)
{
    KeychainCookieVault vault(keychain);
    auto storage = Uuid::random();
    secrets.push_back("cookie-value-" + Uuid::random().string());
    std::vector<HttpCookie> jar{ { "sid", secrets[0], ".mail.example.com", "/", std::nullopt, true, true,
        HttpCookie::SameSite::Lax } };

    wait(vault.save(SessionCookieCodec::encode(jar), storage));
    auto blob = wait(vault.load(storage));
    ASSERT_TRUE(blob);
    EXPECT_EQ(SessionCookieCodec::decode(*blob), jar);
    EXPECT_EQ(itemCount(KeychainCookieVault::key(storage)), 1);

    wait(vault.save(std::nullopt, storage));
    EXPECT_EQ(wait(vault.load(storage)), std::nullopt);
}

class NoSecretServiceTest : public KeyringTest {
protected:
    NoSecretServiceTest()
        : KeyringTest("none")
    {
    }
};

TEST_F(NoSecretServiceTest, ReadsGiveNothingAndWritesFalseWithOneWarning)
{
    auto key = freshKey();
    secrets.push_back("unsaved-" + Uuid::random().string());
    auto start = std::chrono::steady_clock::now();

    EXPECT_FALSE(wait(keychain.set(secrets[0], key)));
    EXPECT_FALSE(wait(keychain.set(Bytes{ 0, 1, 2 }, key)));
    EXPECT_FALSE(wait(keychain.remove(key)));
    EXPECT_EQ(wait(keychain.get(key)), std::nullopt);
    EXPECT_EQ(wait(keychain.getData(key)), std::nullopt);
    EXPECT_EQ(wait(keychain.proxyPassword(Uuid::random())), std::nullopt);

    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    ASSERT_EQ(log.messages().size(), 1u);
    EXPECT_NE(log.messages()[0].find("keyring"), std::string::npos);
}

} // namespace
} // namespace cohortex
