#pragma once

#include "Engine/WebViewRegistry.h"
#include "Fakes/FakeAuthenticator.h"
#include "Fakes/FakeProcessMemory.h"
#include "Fakes/MemoryDefaults.h"
#include "Fakes/SessionFakes.h"
#include "Services/Presentation.h"
#include "Services/ResourceMonitorService.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Services/StoredKeys.h"
#include "Services/WorkspaceRuntime.h"

#include <memory>
#include <string_view>
#include <vector>

namespace cohortex::testing {

// The services under a session manager, wired as the program wires them, with fakes for the engine, the
// keyring, the owner's authentication and the pages' processes. The unit tests run it on a queue they step
// by hand, the window tests on GLib's main loop.
template <class Queue>
struct ServiceGraph {
    std::unique_ptr<SessionManager> makeManager(WindowHost& windows)
    {
        return std::make_unique<SessionManager>(SessionManager::Collaborators{
            queue, defaults, runtime, stores, keychain, routingRules, authenticator, windows });
    }

    void storeList(const std::vector<WorkspaceSession>& list) { storeBytes(encodeWorkspaceList(list)); }

    void storeBytes(std::string_view text)
    {
        defaults.setData(
            keys::workspaces, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }

    Queue queue;
    MemoryDefaults defaults;
    CallLog log;
    WorkspaceRuntime runtime{ nullptr };
    FakeDataStores stores{ log };
    FakeKeychain keychain{ log };
    RoutingRules routingRules{ defaults };
    FakeAuthenticator authenticator;
    FakeProcessMemory memory;
    WebViewRegistry registry{ memory };
    ResourceMonitorService resources{ defaults, registry, queue };
    Presentation presentation{ queue };
};

} // namespace cohortex::testing
