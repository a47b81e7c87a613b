#pragma once

#include "Engine/KeychainService.h"
#include "Engine/SessionCookieCodec.h"
#include "Engine/WebKitManager.h"
#include "EngineTest.h"
#include "Fakes/MemorySecretStore.h"
#include "Platform/Linux/SqliteDefaults.h"
#include "ProxyProcess.h"
#include "Services/Keychain.h"
#include "TestWebView.h"

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

// The proxy connects onwards from an address of its own, so the server's peer address shows the way.
inline constexpr const char* keptLoginsProxyAddress = "127.0.0.3";

// A fragment that no real text contains, so that finding it anywhere means it got there.
inline std::string uniqueSecret(std::string_view prefix)
{
    return std::string(prefix) + Uuid::random().string();
}

// Runs of the browser on one workspace with the real pieces: the WebKitGTK engine, the defaults database
// in the temporary home and the data store manager. A memory vault and a memory keyring stand for the
// user's keyring, which outlives every run (it has integration tests of its own).
class KeptLoginsFixture : public EngineTest {
protected:
    using Outcome = TestWebView::Outcome;

    // Long enough for the manager's debounced save, with room for a busy machine.
    static constexpr std::chrono::milliseconds saveTimeout{ 5000 };

    void SetUp() override
    {
        g_setenv("XDG_CONFIG_HOME", (m_home.path() / "config").c_str(), true);
        startRun();
    }
    void TearDown() override
    {
        endRun();
        g_unsetenv("XDG_CONFIG_HOME");
    }

    void startRun()
    {
        auto defaults = SqliteDefaults::open(SqliteDefaults::defaultPath());
        if (!defaults)
            throw std::runtime_error("Cannot open the defaults: " + defaults.error().message);
        m_defaults = std::move(*defaults);
        m_manager = std::make_unique<WebKitManager>(m_queue, *m_defaults, engine(), m_vault, m_keychain);
    }
    // Closes the defaults database as quitting does; the engine stays until the next launch.
    void endRun()
    {
        m_manager.reset();
        m_defaults.reset();
    }
    // As quitting and launching again: every network session goes away with the engine. No web view of
    // the workspace may be left.
    void quitAndRelaunch()
    {
        endRun();
        restartEngine();
        startRun();
    }

    WorkspaceSession workspace() const
    {
        return WorkspaceSession(m_workspaceID, "mail", *Url::parse(m_server.url("/")), std::nullopt, "globe",
            "#000000", 1, m_storeA, Date(0), Date(0));
    }
    WorkspaceSession workspaceBehind(const ProxyProcess& proxy) const
    {
        auto record = workspace();
        record.proxyType = "http";
        record.proxyHost = "127.0.0.1";
        record.proxyPort = proxy.port();
        record.proxyUsername = m_proxyUser;
        return record;
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

    void storeProxyPassword(const std::string& password)
    {
        auto stored = m_keychain.set(password, proxyPasswordKey(m_workspaceID.string()));
        ASSERT_TRUE(finishes(stored));
        ASSERT_TRUE(stored.result());
    }

    // The manager applies the proxy at once and its credential once the keyring has answered.
    [[nodiscard]] bool storeUsesProxyPassword(const std::string& password)
    {
        return runUntil([&] {
            auto credential = engine().proxyCredential(m_storeA);
            return credential && *credential == ProxyCredential{ m_proxyUser, password };
        });
    }

    const Uuid m_workspaceID = Uuid::random();
    const std::string m_secretCookie = uniqueSecret("s3cr3t-cookie-");
    const std::string m_proxyUser = uniqueSecret("proxy-user-");
    testing::MemorySecretStore m_secrets;
    KeychainService m_keychain{ m_secrets };
    MemoryCookieVault m_vault;
    std::unique_ptr<SqliteDefaults> m_defaults;
    std::unique_ptr<WebKitManager> m_manager;
};

} // namespace cohortex
