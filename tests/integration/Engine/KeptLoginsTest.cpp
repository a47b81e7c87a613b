#include "Engine/SessionCookieCodec.h"
#include "EngineTest.h"
#include "ProxyProcess.h"
#include "Services/StoredKeys.h"
#include "Support/Log.h"
#include "TestWebView.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using Outcome = TestWebView::Outcome;

constexpr const char* proxyAddress = "127.0.0.3";

bool contains(const std::vector<char>& bytes, std::string_view text)
{
    return std::string_view(bytes.data(), bytes.size()).find(text) != std::string_view::npos;
}

std::vector<char> bytesUnder(const std::filesystem::path& directory)
{
    std::vector<char> bytes;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(directory)) {
        if (!entry.is_regular_file())
            continue;
        auto content = readFile(entry.path());
        bytes.insert(bytes.end(), content.begin(), content.end());
    }
    return bytes;
}

using KeptLoginsTest = ManagedStoreTest;

// The session login goes to the keyring (the end-to-end tests bring it back after a relaunch); neither it
// nor the proxy password may reach the logs, the defaults or a store's files.
TEST_F(KeptLoginsTest, ASessionLoginIsKeptInTheKeyringAndNoSecretIsWrittenDown)
{
    std::vector<std::string> logged;
    auto previousSink = setLogSink([&](LogLevel, std::string_view message) { logged.emplace_back(message); });
    const auto cookie = "sid=s3cr3t-cookie-" + Uuid::random().string();
    const auto user = "proxy-user-" + Uuid::random().string();
    const auto password = "pr0xy-pass-" + Uuid::random().string();
    auto proxy = ProxyProcess::http(proxyAddress, { user, password }, m_home.path());
    ASSERT_NO_FATAL_FAILURE(storeProxyPassword(password));
    auto record = workspaceBehind(proxy.port(), user);
    auto list = encodeWorkspaceList({ &record, 1 });
    ASSERT_TRUE(m_defaults->setData(
        keys::workspaces, { reinterpret_cast<const std::uint8_t*>(list.data()), list.size() }));
    ASSERT_TRUE(m_defaults->setBoolean(keys::keepSessionsAfterQuit, true));
    m_manager->refreshProxy(record);
    ASSERT_TRUE(runUntil([&] {
        return engine().proxyCredential(m_storeA) == ProxyCredential{ user, password };
    }));
    ASSERT_TRUE(finishes(m_manager->prepare(record)));
    {
        TestWebView view(engine(), m_storeA);
        ASSERT_EQ(view.load(m_server.urlSettingCookie("/login", cookie)), Outcome::Finished)
            << view.lastError();
        // The manager's save is debounced; give it room on a busy machine.
        ASSERT_TRUE(runUntil([&] { return m_vault.items().contains(m_storeA); }, std::chrono::seconds(5)));
    }
    ASSERT_TRUE(finishes(m_manager->saveSessionCookies({ record })));
    EXPECT_EQ(peerOf("/login"), proxyAddress);
    std::vector<std::string> saved;
    for (const auto& kept : SessionCookieCodec::decode(m_vault.items().at(m_storeA)))
        saved.push_back(kept.name + "=" + kept.value);
    EXPECT_THAT(saved, ElementsAre(cookie));

    // While the database is open its latest writes are in the write-ahead log; closing folds them in.
    auto defaultsDirectory = SqliteDefaults::defaultPath().parent_path();
    auto whileOpen = bytesUnder(defaultsDirectory);
    endRun();
    auto afterClosing = bytesUnder(defaultsDirectory);
    for (const auto* bytes : { &whileOpen, &afterClosing }) {
        EXPECT_TRUE(contains(*bytes, user)) << "The scan must find what the database does hold";
        EXPECT_FALSE(contains(*bytes, cookie));
        EXPECT_FALSE(contains(*bytes, password));
    }
    // No page and no URI ever carried the proxy password, so only a login kept by the engine could put it
    // into a store's files; the stores keep none.
    EXPECT_FALSE(contains(bytesUnder(m_home.path() / "data"), password));
    EXPECT_FALSE(contains(bytesUnder(m_home.path() / "cache"), password));

    setLogSink(std::move(previousSink));
    for (const auto& line : logged) {
        EXPECT_THAT(line, Not(HasSubstr(cookie)));
        EXPECT_THAT(line, Not(HasSubstr(password)));
    }
}

} // namespace
} // namespace cohortex
