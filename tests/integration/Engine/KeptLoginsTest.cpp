#include "KeptLoginsFixture.h"
#include "OutputCapture.h"
#include "Services/StoredKeys.h"

#include <filesystem>
#include <gmock/gmock.h>

namespace cohortex {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Key;
using ::testing::Not;

bool contains(const std::vector<char>& bytes, std::string_view text)
{
    return std::string_view(bytes.data(), bytes.size()).find(text) != std::string_view::npos;
}

// The bytes of every file under the directory, one file after another.
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

class KeptLoginsTest : public KeptLoginsFixture { };

TEST_F(KeptLoginsTest, ASessionLoginSavedBeforeAQuitIsSentAgainOnceTheWorkspaceIsPrepared)
{
    ASSERT_NO_FATAL_FAILURE(signIn(workspace()));
    EXPECT_THAT(savedCookies(), ElementsAre(loginCookie()));

    quitAndRelaunch();
    TestWebView view(engine(), m_storeA);
    ASSERT_EQ(view.load(m_server.url("/before-prepare")), Outcome::Finished) << view.lastError();
    ASSERT_NO_FATAL_FAILURE(prepare(workspace()));
    ASSERT_EQ(view.load(m_server.url("/after-prepare")), Outcome::Finished) << view.lastError();

    // The engine itself forgets session cookies at a quit; only the manager's restoration brings it back.
    EXPECT_EQ(cookieSentFor("/before-prepare"), "");
    EXPECT_EQ(cookieSentFor("/after-prepare"), loginCookie());
}

TEST_F(KeptLoginsTest, TurningKeptLoginsOffForgetsTheSavedLoginForGood)
{
    ASSERT_NO_FATAL_FAILURE(signIn(workspace()));
    ASSERT_TRUE(m_defaults->setBoolean(keys::keepSessionsAfterQuit, false));
    auto record = workspace();
    m_manager->forgetSavedSessions({ &record, 1 });
    EXPECT_TRUE(runUntil([&] { return !m_vault.items().contains(m_storeA); }));

    quitAndRelaunch();
    ASSERT_NO_FATAL_FAILURE(prepare(record));
    // Nor is a login of this run kept for the next one, not even by the save at quitting.
    {
        TestWebView view(engine(), m_storeA);
        ASSERT_EQ(view.load(m_server.url("/after-prepare")), Outcome::Finished) << view.lastError();
        EXPECT_EQ(cookieSentFor("/after-prepare"), "");
        ASSERT_EQ(view.load(m_server.urlSettingCookie("/login-again", loginCookie())), Outcome::Finished);
    }
    ASSERT_TRUE(finishes(m_manager->saveSessionCookies({ record })));
    EXPECT_THAT(m_vault.items(), Not(Contains(Key(m_storeA))));
}

TEST_F(KeptLoginsTest, TheLoginCookieAndTheProxyPasswordStayOutOfTheLogsTheDefaultsAndTheWebsiteData)
{
    OutputCapture output(m_home.path() / "stderr.txt");
    // The engine's processes start afresh, so what they write is captured too.
    quitAndRelaunch();
    const auto password = uniqueSecret("pr0xy-pass-");
    auto proxy = ProxyProcess::http(keptLoginsProxyAddress, { m_proxyUser, password }, m_home.path());
    ASSERT_NO_FATAL_FAILURE(storeProxyPassword(password));
    auto record = workspaceBehind(proxy);
    // The list is stored as the session manager stores it; the record names the proxy's user.
    auto list = encodeWorkspaceList({ &record, 1 });
    ASSERT_TRUE(m_defaults->setData(
        keys::workspaces, { reinterpret_cast<const std::uint8_t*>(list.data()), list.size() }));
    ASSERT_TRUE(m_defaults->setBoolean(keys::keepSessionsAfterQuit, true));

    m_manager->refreshProxy(record);
    ASSERT_TRUE(storeUsesProxyPassword(password));
    ASSERT_NO_FATAL_FAILURE(signIn(record));
    ASSERT_TRUE(finishes(m_manager->saveSessionCookies({ record })));
    // Both secrets were really used: the login went through the proxy and its cookie into the vault.
    EXPECT_EQ(peerOf("/login"), keptLoginsProxyAddress);
    EXPECT_THAT(savedCookies(), ElementsAre(loginCookie()));

    // While the database is open its latest writes are in the write-ahead log; closing folds them in.
    auto defaultsDirectory = SqliteDefaults::defaultPath().parent_path();
    auto whileOpen = bytesUnder(defaultsDirectory);
    endRun();
    auto afterClosing = bytesUnder(defaultsDirectory);
    for (const auto* bytes : { &whileOpen, &afterClosing }) {
        EXPECT_TRUE(contains(*bytes, m_proxyUser)) << "The scan must find what the database does hold";
        EXPECT_FALSE(contains(*bytes, m_secretCookie));
        EXPECT_FALSE(contains(*bytes, password));
    }
    // No page and no URI ever carried the proxy password, so only a login kept by the engine could put it
    // into a store's files; the stores keep none.
    EXPECT_FALSE(contains(bytesUnder(m_home.path() / "data"), password));
    EXPECT_FALSE(contains(bytesUnder(m_home.path() / "cache"), password));

    // Finding nothing proves something only if the capture sees what is written.
    g_printerr("capture check\n");
    auto lines = output.standardErrorLines();
    EXPECT_THAT(lines, Contains("capture check"));
    lines.insert(lines.end(), output.logMessages().begin(), output.logMessages().end());
    for (const auto& line : lines) {
        EXPECT_THAT(line, Not(HasSubstr(m_secretCookie)));
        EXPECT_THAT(line, Not(HasSubstr(password)));
    }
}

} // namespace
} // namespace cohortex
