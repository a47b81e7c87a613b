#pragma once

#include "Fakes/ServiceGraph.h"
#include "Services/TeamSharing.h"
#include "Services/TimeTracker.h"
#include "Support/ManualMainQueue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace cohortex::testing {

// A session manager over the real runtime, link rules, registry, resource monitor and time tracker, with
// fakes for the engine, the keyring, the window, idle time, alerts and the owner's authentication.
class SessionManagerFixture : public ::testing::Test, public ServiceGraph<ManualMainQueue> {
protected:
    std::unique_ptr<SessionManager> makeManager() { return ServiceGraph::makeManager(window); }

    std::vector<WorkspaceSession> storedList() const
    {
        auto bytes = defaults.data(keys::workspaces);
        if (!bytes)
            return {};
        return decodeWorkspaceList(*bytes).value_or(std::vector<WorkspaceSession>{});
    }

    // Logs each change of the loaded set and of the rules as "runtime.loaded N" and "rules N".
    void traceRuntime()
    {
        m_trace = runtime.tabs().changed().connect(
            [this](const TabTable& table) { log.add("runtime.loaded " + std::to_string(table.size())); });
        m_rulesTrace = routingRules.rules().changed().connect(
            [this](const auto& rules) { log.add("rules " + std::to_string(rules.size())); });
    }

    static Url url(std::string_view text) { return *Url::parse(text); }

    std::vector<std::string> addresses(const Uuid& id) const
    {
        std::vector<std::string> result;
        for (const auto& tab : runtime.tabs(id))
            result.push_back(tab.url.absoluteString());
        return result;
    }

    static WorkspaceSession workspace(std::string name, std::int64_t shortcutIndex)
    {
        auto site = *Url::parse("https://" + std::to_string(shortcutIndex) + ".example.com/");
        return WorkspaceSession(Uuid::random(), std::move(name), site, std::nullopt, "globe", "#FF9500",
            shortcutIndex, Uuid::random(), Date(100), Date(100));
    }

    FakeWindowHost window;
    TimeTracker timeTracker{ defaults };
    FakeIdleTime idleTime;
    FakeAlerts alerts;

private:
    ScopedConnection m_trace;
    ScopedConnection m_rulesTrace;
};

// Mail, Chat and a locked Vault, with the manager made over them.
class ThreeWorkspacesFixture : public SessionManagerFixture {
protected:
    void SetUp() override
    {
        storeList({ workspace("Mail", 1), workspace("Chat", 2), workspace("Vault", 3) });
        manager = makeManager();
        team = std::make_unique<TeamSharing>(queue, *manager, routingRules, alerts);
        manager->setFileHandler([this](std::filesystem::path file) { return team->confirmAndImport(file); });
        mail = list()[0];
        chat = list()[1];
        vault = list()[2];
        vault.requiresUnlock = true;
        manager->updateWorkspace(vault);
    }

    const std::vector<WorkspaceSession>& list() const { return manager->workspaces().get(); }

    std::unique_ptr<SessionManager> manager;
    std::unique_ptr<TeamSharing> team;
    WorkspaceSession mail = workspace("", 0);
    WorkspaceSession chat = workspace("", 0);
    WorkspaceSession vault = workspace("", 0);
};

} // namespace cohortex::testing
