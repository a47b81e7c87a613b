#pragma once

#include "Models/WorkspaceSession.h"
#include "Services/Alerts.h"
#include "Services/DataStores.h"
#include "Services/IdleTime.h"
#include "Services/Keychain.h"
#include "Services/WindowHost.h"

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace cohortex::testing {

// One ordered record of the calls the fakes below receive, so tests can check the order across them.
struct CallLog {
    std::vector<std::string> calls;

    void add(std::string call) { calls.push_back(std::move(call)); }
    void clear() { calls.clear(); }
};

// Website data stores whose preparation takes as long as the test wants: each prepare() waits until
// finishPreparing() is called for its workspace.
class FakeDataStores final : public DataStores {
public:
    explicit FakeDataStores(CallLog& log)
        : m_log(log)
    {
    }

    bool keepSessionsEnabled() const override { return keepSessions; }
    bool isPrepared(const WorkspaceSession& workspace) const override
    {
        return prepared.contains(workspace.id);
    }
    Task<void> prepare(WorkspaceSession workspace) override
    {
        m_log.add("stores.prepare " + workspace.name);
        // Like the real stores: nothing to restore without kept logins or once restored.
        if (!keepSessions || prepared.contains(workspace.id))
            return done();
        return waitUntilPrepared(this, workspace.id);
    }
    Task<void> saveSessionCookies(std::vector<WorkspaceSession> workspaces) override
    {
        m_log.add("stores.saveSessionCookies " + std::to_string(workspaces.size()));
        return done();
    }
    void refreshProxy(const WorkspaceSession& workspace) override
    {
        m_log.add("stores.refreshProxy " + workspace.name);
    }
    void deleteWorkspaceStore(const Uuid& storage) override
    {
        m_log.add("stores.delete " + storage.string());
    }
    void forgetSavedSessions(std::span<const WorkspaceSession> workspaces) override
    {
        m_log.add("stores.forgetSavedSessions " + std::to_string(workspaces.size()));
    }
    void markPrepared(const WorkspaceSession& workspace) override
    {
        m_log.add("stores.markPrepared " + workspace.name);
        prepared.insert(workspace.id);
    }

    // Completes every preparation waiting for the workspace; the waiting coroutines resume on the queue.
    void finishPreparing(const Uuid& id)
    {
        prepared.insert(id);
        auto waiting = std::move(m_waiting[id]);
        m_waiting.erase(id);
        for (auto& resume : waiting)
            resume();
    }

    bool keepSessions{ false };
    std::set<Uuid> prepared;

private:
    static Task<void> waitUntilPrepared(FakeDataStores* self, Uuid id)
    {
        co_await awaitCallback<void>(
            [self, id](auto resume) { self->m_waiting[id].push_back(std::move(resume)); });
    }
    static Task<void> done() { co_return; }

    CallLog& m_log;
    std::map<Uuid, std::vector<std::function<void()>>> m_waiting;
};

class FakeKeychain final : public Keychain {
public:
    explicit FakeKeychain(CallLog& log)
        : m_log(log)
    {
    }

    void deleteItem(std::string_view key) override { m_log.add("keychain.delete " + std::string(key)); }
    Task<std::optional<std::string>> get(std::string key) override
    {
        auto found = items.find(key);
        co_return found == items.end() ? std::nullopt : std::optional(found->second);
    }
    Task<bool> set(std::string value, std::string key) override
    {
        m_log.add("keychain.set " + key);
        items[key] = std::move(value);
        co_return true;
    }
    Task<bool> remove(std::string key) override
    {
        m_log.add("keychain.remove " + key);
        items.erase(key);
        co_return true;
    }

    // What the keyring holds, by key.
    std::map<std::string, std::string> items;

private:
    CallLog& m_log;
};

class FakeWindowHost final : public WindowHost {
public:
    bool mainWindowExists() const override { return exists; }
    bool isMainWindowVisible() const override { return exists && visible && !minimised; }
    bool isMainWindowKey() const override { return exists && key; }
    bool isApplicationActive() const override { return applicationActive; }
    bool reportsMinimising() const override { return tellsMinimising; }
    void showMainWindow() override
    {
        ++shows;
        exists = visible = key = applicationActive = true;
        minimised = false;
    }
    void hideMainWindow() override
    {
        ++hides;
        visible = key = false;
    }
    void setDeactivationObserver(std::function<void()> observer) override
    {
        deactivationObserver = std::move(observer);
    }

    // The application loses the focus to another program.
    void deactivate()
    {
        key = applicationActive = false;
        if (deactivationObserver)
            deactivationObserver();
    }

    bool exists{ false };
    bool visible{ false };
    bool minimised{ false };
    // False as on Wayland before GTK 4.12: minimised then stays false whatever the user does.
    bool tellsMinimising{ true };
    bool key{ false };
    bool applicationActive{ false };
    int shows{ 0 };
    int hides{ 0 };
    std::function<void()> deactivationObserver;
};

class FakeIdleTime final : public IdleTime {
public:
    double systemIdleSeconds() override { return 0; }
};

// Answers every confirmation as the test says, and records what was shown.
class FakeAlerts final : public Alerts {
public:
    Task<bool> confirm(std::string message, std::string details, std::string, std::string) override
    {
        shown.push_back(message + "|" + details);
        co_return answer;
    }
    Task<void> inform(std::string message, std::string details) override
    {
        shown.push_back(message + "|" + details);
        co_return;
    }

    bool answer{ true };
    std::vector<std::string> shown;
};

} // namespace cohortex::testing
