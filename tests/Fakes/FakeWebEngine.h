#pragma once

#include "Engine/WebEngine.h"
#include "Support/MainQueue.h"
#include "Support/QueueAwaitable.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace cohortex::testing {

// A web engine that keeps each store's cookie jar in memory and records what it was asked. Like the
// real one, it answers cookie reads and writes, data removal and store destruction on a later turn of
// the queue, and tells a store's observer about every change of its jar.
class FakeWebEngine final : public WebEngine {
public:
    explicit FakeWebEngine(MainQueue& queue)
        : m_queue(queue)
    {
    }

    void openStore(const Uuid&) override { events.push_back("engine.open"); }
    void holdPagesUntil(const Uuid&, Task<void>) override { events.push_back("engine.holdPages"); }

    Task<Expected<std::vector<HttpCookie>>> allCookies(Uuid storage) override
    {
        events.push_back("engine.allCookies");
        co_await nextTurn(m_queue);
        if (failsCookieReads)
            co_return makeError("the network process went away");
        co_return jars[storage];
    }

    Task<void> setCookie(Uuid storage, HttpCookie cookie) override
    {
        events.push_back("engine.setCookie " + cookie.name);
        co_await nextTurn(m_queue);
        std::erase_if(jars[storage], [&](const HttpCookie& held) {
            return held.name == cookie.name && held.domain == cookie.domain && held.path == cookie.path;
        });
        jars[storage].push_back(std::move(cookie));
        notifyChange(storage);
    }

    void observeCookies(const Uuid& storage, std::function<void()> changed) override
    {
        observers[storage] = std::move(changed);
    }

    Task<void> removeAllData(Uuid storage) override
    {
        events.push_back("engine.removeAllData");
        co_await nextTurn(m_queue);
        jars.erase(storage);
        events.push_back("engine.removeAllData done");
    }

    Task<bool> destroyStore(Uuid storage) override
    {
        destroyAttempts.push_back(m_queue.now());
        co_await nextTurn(m_queue);
        if (refusalsLeft > 0) {
            --refusalsLeft;
            co_return false;
        }
        destroyed.insert(storage);
        co_return true;
    }

    void setProxy(const Uuid& storage, std::optional<ProxySettings> settings) override
    {
        events.push_back("engine.setProxy");
        proxies[storage].push_back(std::move(settings));
    }

    // What a page does to the jar: sets the cookies at once and tells the observer.
    void pageSetsCookies(const Uuid& storage, std::vector<HttpCookie> cookies)
    {
        for (auto& cookie : cookies)
            jars[storage].push_back(std::move(cookie));
        notifyChange(storage);
    }

    void notifyChange(const Uuid& storage)
    {
        if (auto observer = observers.find(storage); observer != observers.end() && observer->second)
            observer->second();
    }

    // The proxy the store has now; nothing when it connects directly or was never set.
    std::optional<ProxySettings> currentProxy(const Uuid& storage) const
    {
        auto found = proxies.find(storage);
        return found == proxies.end() || found->second.empty() ? std::nullopt : found->second.back();
    }

    std::vector<std::string> events;
    std::map<Uuid, std::vector<HttpCookie>> jars;
    std::map<Uuid, std::function<void()>> observers;
    std::map<Uuid, std::vector<std::optional<ProxySettings>>> proxies;
    // Every jar read fails, as when the network process has crashed.
    bool failsCookieReads{ false };
    // How many destroyStore calls are refused, as while a page still holds the store.
    int refusalsLeft{ 0 };
    std::vector<Date> destroyAttempts;
    std::set<Uuid> destroyed;

private:
    MainQueue& m_queue;
};

} // namespace cohortex::testing
