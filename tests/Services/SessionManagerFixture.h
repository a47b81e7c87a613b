#pragma once

#include "Engine/WebViewRegistry.h"
#include "Fakes/FakeAuthenticator.h"
#include "Fakes/FakeProcessMemory.h"
#include "Fakes/MemoryDefaults.h"
#include "Fakes/SessionFakes.h"
#include "Services/ResourceMonitorService.h"
#include "Services/SessionManager.h"
#include "Services/StoredKeys.h"
#include "Services/WorkspaceRuntime.h"
#include "Support/ManualMainQueue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace cohortex::testing {

// A session manager over the real runtime, registry and resource monitor, with fakes for the engine,
// the keyring, the link rules, the window and the owner's authentication.
class SessionManagerFixture : public ::testing::Test {
protected:
    std::unique_ptr<SessionManager> makeManager()
    {
        return std::make_unique<SessionManager>(SessionManager::Collaborators{
            queue, defaults, runtime, stores, keychain, rules, authenticator, resources, registry, window });
    }

    void storeList(const std::vector<WorkspaceSession>& list) { storeBytes(encodeWorkspaceList(list)); }

    void storeBytes(std::string_view text)
    {
        defaults.setData(
            keys::workspaces, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }

    std::vector<WorkspaceSession> storedList() const
    {
        auto bytes = defaults.data(keys::workspaces);
        if (!bytes)
            return {};
        return decodeWorkspaceList(*bytes).value_or(std::vector<WorkspaceSession>{});
    }

    // Logs every change of the loaded set into the shared call log, as "runtime.loaded N".
    void traceRuntime()
    {
        m_trace = runtime.tabs().changed().connect(
            [this](const TabTable& table) { log.add("runtime.loaded " + std::to_string(table.size())); });
    }

    static WorkspaceSession workspace(std::string name, std::int64_t shortcutIndex)
    {
        auto site = *Url::parse("https://" + std::to_string(shortcutIndex) + ".example.com/");
        return WorkspaceSession(Uuid::random(), std::move(name), site, std::nullopt, "globe", "#FF9500",
            shortcutIndex, Uuid::random(), Date(100), Date(100));
    }

    ManualMainQueue queue;
    MemoryDefaults defaults;
    CallLog log;
    WorkspaceRuntime runtime{ nullptr };
    FakeDataStores stores{ log };
    FakeKeychain keychain{ log };
    FakeRoutingRules rules{ log };
    FakeAuthenticator authenticator;
    FakeWindowHost window;
    FakeProcessMemory memory;
    WebViewRegistry registry{ memory };
    ResourceMonitorService resources{ defaults, registry, memory, queue };

private:
    ScopedConnection m_trace;
};

} // namespace cohortex::testing
