#include "Engine/SessionCookieCodec.h"
#include "EngineTest.h"
#include "OutputCapture.h"
#include "ProxyProcess.h"
#include "Services/StoredKeys.h"
#include "TestWebView.h"

#include <chrono>
#include <filesystem>
#include <gmock/gmock.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::UnorderedElementsAre;

// The proxy connects onwards from an address of its own, so the server's peer address shows the way.
constexpr const char* keptLoginsProxyAddress = "127.0.0.3";

// A fragment that no real text contains, so that finding it anywhere means it got there.
std::string uniqueSecret(std::string_view prefix)
{
    return std::string(prefix) + Uuid::random().string();
}

// Runs of the browser on one workspace with the real engine, defaults database and data store manager.
class KeptLoginsTest : public ManagedStoreTest {
protected:
    using Outcome = TestWebView::Outcome;

    // Long enough for the manager's debounced save, with room for a busy machine.
    static constexpr std::chrono::milliseconds saveTimeout{ 5000 };

    // As quitting and launching again: every network session goes away with the engine. No web view of
    // the workspace may be left.
    void quitAndRelaunch()
    {
        endRun();
        restartEngine();
        startRun();
    }

    void prepare(const WorkspaceSession& record) { ASSERT_TRUE(finishes(m_manager->prepare(record))); }

    // Signs in on a page that sets a session cookie, then waits, in real time, for the manager's
    // debounced save.
    void signIn(const WorkspaceSession& record)
    {
        ASSERT_NO_FATAL_FAILURE(prepare(record));
        TestWebView view(engine(), m_storeA);
        ASSERT_EQ(view.load(m_server.urlSettingCookie("/login", loginCookie())), Outcome::Finished)
            << view.lastError();
        ASSERT_TRUE(runUntil([&] { return m_vault.items().contains(m_storeA); }, saveTimeout));
    }

    std::string loginCookie() const { return "sid=" + m_secretCookie; }

    // What the last run saved in the vault: the session cookie of a login.
    void keepLoginFromLastRun()
    {
        std::vector<HttpCookie> login{ { "sid", m_secretCookie, "127.0.0.1", "/", std::nullopt, false, true,
            HttpCookie::SameSite::Lax } };
        ASSERT_TRUE(finishes(m_vault.save(SessionCookieCodec::encode(login), m_storeA)));
    }

    // A persistent cookie, which lives in the store's cookie file rather than in the vault.
    static HttpCookie rememberedSetting()
    {
        return { "theme", "dark", "127.0.0.1", "/", Date::fromUnixTime(Date::now().unixTime() + 3600), false,
            false, HttpCookie::SameSite::Lax };
    }

    // The saved blob's cookies as name=value, read back through the codec.
    std::vector<std::string> savedCookies() const
    {
        std::vector<std::string> cookies;
        if (auto blob = m_vault.items().find(m_storeA); blob != m_vault.items().end()) {
            for (const auto& cookie : SessionCookieCodec::decode(blob->second))
                cookies.push_back(cookie.name + "=" + cookie.value);
        }
        return cookies;
    }

    // The manager applies the proxy at once and its credential once the keyring has answered.
    [[nodiscard]] bool storeUsesProxyPassword(const std::string& password)
    {
        return runUntil([&] {
            auto credential = engine().proxyCredential(m_storeA);
            return credential && *credential == ProxyCredential{ m_proxyUser, password };
        });
    }

    const std::string m_secretCookie = uniqueSecret("s3cr3t-cookie-");
    const std::string m_proxyUser = uniqueSecret("proxy-user-");
};

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

TEST_F(KeptLoginsTest, TheLoginCookieAndTheProxyPasswordStayOutOfTheLogsTheDefaultsAndTheWebsiteData)
{
    OutputCapture output(m_home.path() / "stderr.txt");
    // The engine's processes start afresh, so what they write is captured too.
    quitAndRelaunch();
    const auto password = uniqueSecret("pr0xy-pass-");
    auto proxy = ProxyProcess::http(keptLoginsProxyAddress, { m_proxyUser, password }, m_home.path());
    ASSERT_NO_FATAL_FAILURE(storeProxyPassword(password));
    auto record = workspaceBehind(proxy.port(), m_proxyUser);
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

struct FirstProxyLogin {
    const char* name;
    // What the keyring holds when the first page asks: nothing yet, or a wrong password.
    std::optional<std::string> password;

    friend void PrintTo(const FirstProxyLogin& login, std::ostream* out) { *out << login.name; }
};

class RefusedProxyLoginTest : public KeptLoginsTest,
                              public ::testing::WithParamInterface<FirstProxyLogin> { };

// The engine's network session keeps the first proxy login it made for as long as it lives: one the view
// declined is never asked for again, and one the proxy refused with 401 instead of 407 (as tinyproxy
// does) counts as accepted. Correcting the password therefore has to reach the pages through a fresh
// session, and that session must still carry the user's logins to the sites.
TEST_P(RefusedProxyLoginTest, IsTriedAgainWithTheCorrectedPasswordOnceTheWorkspaceIsLoadedAgain)
{
    const auto password = uniqueSecret("right-");
    auto proxy = ProxyProcess::http(keptLoginsProxyAddress, { m_proxyUser, password }, m_home.path());
    auto record = workspaceBehind(proxy.port(), m_proxyUser);
    const auto& firstPassword = GetParam().password;
    if (firstPassword) {
        ASSERT_NO_FATAL_FAILURE(storeProxyPassword(*firstPassword));
    }
    // At launch the last run's login comes back, and a remembered site setting is in the cookie file.
    ASSERT_NO_FATAL_FAILURE(keepLoginFromLastRun());
    ASSERT_NO_FATAL_FAILURE(prepare(record));
    setCookie(m_storeA, rememberedSetting());
    {
        TestWebView view(engine(), m_storeA);
        // The proxy's refusal is the page the view shows, or the load fails; the request goes no further.
        EXPECT_NE(view.load(m_server.url("/refused")), Outcome::TimedOut);

        // The user corrects the password in the workspace's settings, which applies the proxy again and
        // then puts the workspace to sleep, closing this page, and loads it again at once.
        ASSERT_NO_FATAL_FAILURE(storeProxyPassword(password));
        m_manager->refreshProxy(record);
    }
    TestWebView view(engine(), m_storeA);
    ASSERT_EQ(view.load(m_server.urlSettingCookie("/corrected", "fresh=1")), Outcome::Finished)
        << view.lastError();

    EXPECT_EQ(peerOf("/refused"), "(no request)");
    EXPECT_EQ(peerOf("/corrected"), keptLoginsProxyAddress);
    EXPECT_THAT(cookieSentFor("/corrected"), AllOf(HasSubstr(loginCookie()), HasSubstr("theme=dark")));
    // The jar of the fresh session is the one watched and saved now.
    ASSERT_TRUE(runUntil([&] { return savedCookies().size() == 2; }, saveTimeout));
    EXPECT_THAT(savedCookies(), UnorderedElementsAre(loginCookie(), "fresh=1"));
}

INSTANTIATE_TEST_SUITE_P(FirstLogin, RefusedProxyLoginTest,
    ::testing::Values(
        FirstProxyLogin{ "NoPasswordYet", std::nullopt }, FirstProxyLogin{ "WrongPassword", "wrong" }),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace cohortex
