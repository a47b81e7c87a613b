#pragma once

#include "Models/WorkspaceSession.h"
#include "Services/DataStores.h"
#include "Services/Keychain.h"
#include "Services/LiveWorkspaces.h"
#include "Services/RoutingRuleStore.h"

#include <set>
#include <string>
#include <vector>

namespace cohortex::testing {

// One ordered record of the calls every fake below receives, so tests can check the order across them.
struct CallLog {
    std::vector<std::string> calls;

    void add(std::string call) { calls.push_back(std::move(call)); }
    void clear() { calls.clear(); }
};

class FakeLiveWorkspaces final : public LiveWorkspaces {
public:
    explicit FakeLiveWorkspaces(CallLog& log)
        : m_log(log)
    {
    }

    bool isLoaded(const Uuid& id) const override { return loaded.contains(id); }
    void load(const WorkspaceSession& workspace, Date) override
    {
        m_log.add("runtime.load " + workspace.name);
        loaded.insert(workspace.id);
    }
    void sleep(const Uuid& id) override
    {
        m_log.add("runtime.sleep " + id.string());
        loaded.erase(id);
    }
    void forget(const Uuid& id) override
    {
        m_log.add("runtime.forget " + id.string());
        loaded.erase(id);
        unlocked.erase(id);
    }
    bool isUnlocked(const Uuid& id) const override { return unlocked.contains(id); }
    void markUnlocked(const Uuid& id) override { unlocked.insert(id); }
    void touch(const Uuid& id, Date now) override { touched.emplace_back(id, now); }

    std::set<Uuid> loaded;
    std::set<Uuid> unlocked;
    std::vector<std::pair<Uuid, Date>> touched;

private:
    CallLog& m_log;
};

class FakeDataStores final : public DataStores {
public:
    explicit FakeDataStores(CallLog& log)
        : m_log(log)
    {
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
    }

private:
    CallLog& m_log;
};

class FakeKeychain final : public Keychain {
public:
    explicit FakeKeychain(CallLog& log)
        : m_log(log)
    {
    }

    void deleteItem(std::string_view key) override { m_log.add("keychain.delete " + std::string(key)); }

private:
    CallLog& m_log;
};

class FakeRoutingRules final : public RoutingRuleStore {
public:
    explicit FakeRoutingRules(CallLog& log)
        : m_log(log)
    {
    }

    void loadRoutingRules() override { m_log.add("rules.load"); }
    void removeRules(const Uuid& id) override { m_log.add("rules.remove " + id.string()); }

private:
    CallLog& m_log;
};

} // namespace cohortex::testing
