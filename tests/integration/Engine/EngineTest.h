#pragma once

#include "Engine/CookieVault.h"
#include "Engine/KeychainService.h"
#include "Engine/WebKitGtk/WebKitEngine.h"
#include "Engine/WebKitManager.h"
#include "Fakes/MemorySecretStore.h"
#include "MainLoop.h"
#include "Platform/Linux/GLibMainQueue.h"
#include "Platform/Linux/SqliteDefaults.h"
#include "Services/Keychain.h"
#include "TestHttpServer.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <glib.h>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace cohortex {

// A fresh home for every test: the stores live under a temporary XDG data and cache directory, pages
// come from a test server on 127.0.0.1, and work resumes on the GLib main queue.
class EngineTest : public ::testing::Test {
protected:
    EngineTest()
    {
        g_setenv("XDG_DATA_HOME", (m_home.path() / "data").c_str(), true);
        g_setenv("XDG_CACHE_HOME", (m_home.path() / "cache").c_str(), true);
    }
    ~EngineTest() override
    {
        m_engine.reset();
        g_unsetenv("XDG_DATA_HOME");
        g_unsetenv("XDG_CACHE_HOME");
    }

    WebKitEngine& engine() { return *m_engine; }

    void restartEngine()
    {
        m_engine.reset();
        m_engine = std::make_unique<WebKitEngine>();
    }

    std::vector<std::string> cookieNamesOf(const Uuid& storage)
    {
        std::vector<std::string> names;
        for (const auto& cookie : cookiesOf(storage))
            names.push_back(cookie.name + "=" + cookie.value);
        return names;
    }
    std::vector<HttpCookie> cookiesOf(const Uuid& storage)
    {
        auto cookies = engine().allCookies(storage);
        EXPECT_TRUE(finishes(cookies) && cookies.result().has_value());
        return cookies.isDone() ? cookies.result().value_or(std::vector<HttpCookie>())
                                : std::vector<HttpCookie>();
    }

    std::string cookieSentFor(const std::string& path) const
    {
        return lastRequest(path, &TestHttpServer::Request::cookie);
    }
    std::string peerOf(const std::string& path) const
    {
        return lastRequest(path, &TestHttpServer::Request::peer);
    }
    std::string lastRequest(const std::string& path, std::string TestHttpServer::Request::*field) const
    {
        auto requests = m_server.requestsFor(path);
        return requests.empty() ? "(no request)" : requests.back().*field;
    }

    TemporaryDirectory m_home;
    GLibMainQueue m_queue;
    TestHttpServer m_server;
    const Uuid m_storeA = Uuid::random();
    const Uuid m_storeB = Uuid::random();

private:
    std::unique_ptr<WebKitEngine> m_engine = std::make_unique<WebKitEngine>();
};

// The real data store manager over the engine, with the defaults database in the temporary home. A memory
// vault and a memory keyring stand for the user's keyring, which has integration tests of its own.
class ManagedStoreTest : public EngineTest {
protected:
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
    void endRun()
    {
        m_manager.reset();
        m_defaults.reset();
    }

    WorkspaceSession workspaceBehind(
        std::uint16_t port, const std::string& user, const char* type = "http") const
    {
        WorkspaceSession record(m_workspaceID, "mail", *Url::parse(m_server.url("/")), std::nullopt, "globe",
            "#000000", 1, m_storeA, Date(0), Date(0));
        record.proxyType = type;
        record.proxyHost = "127.0.0.1";
        record.proxyPort = port;
        record.proxyUsername = user;
        return record;
    }

    void storeProxyPassword(const std::string& password)
    {
        auto stored = m_keychain.set(password, proxyPasswordKey(m_workspaceID.string()));
        ASSERT_TRUE(finishes(stored) && stored.result());
    }

    const Uuid m_workspaceID = Uuid::random();
    testing::MemorySecretStore m_secrets;
    KeychainService m_keychain{ m_secrets };
    MemoryCookieVault m_vault;
    std::unique_ptr<SqliteDefaults> m_defaults;
    std::unique_ptr<WebKitManager> m_manager;
};

} // namespace cohortex
