#pragma once

#include "Engine/WebKitGtk/WebKitEngine.h"
#include "MainLoop.h"
#include "Platform/Linux/GLibMainQueue.h"
#include "TestHttpServer.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <chrono>
#include <glib.h>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace cohortex {

inline void PrintTo(const HttpCookie& cookie, std::ostream* out)
{
    *out << cookie.name << "=" << cookie.value << " domain=" << cookie.domain << " path=" << cookie.path
         << " expires=" << (cookie.expires ? std::to_string(cookie.expires->unixTime()) : "session")
         << (cookie.secure ? " secure" : "") << (cookie.httpOnly ? " httpOnly" : "")
         << " sameSite=" << static_cast<int>(cookie.sameSite);
}

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

    // Tears every session down and starts over, as quitting and launching again does.
    void restartEngine(std::chrono::milliseconds proxyLoginWait = WebKitEngine::defaultProxyLoginWait)
    {
        m_engine.reset();
        m_engine = std::make_unique<WebKitEngine>(proxyLoginWait);
    }

    std::vector<HttpCookie> cookiesOf(const Uuid& storage)
    {
        auto cookies = engine().allCookies(storage);
        EXPECT_TRUE(finishes(cookies));
        EXPECT_TRUE(!cookies.isDone() || cookies.result().has_value());
        return cookies.isDone() ? cookies.result().value_or(std::vector<HttpCookie>())
                                : std::vector<HttpCookie>();
    }

    void setCookie(const Uuid& storage, const HttpCookie& cookie)
    {
        EXPECT_TRUE(finishes(engine().setCookie(storage, cookie)));
    }

    // The Cookie header, and the address it came from, of the last request for the path, or "(no request)".
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

} // namespace cohortex
