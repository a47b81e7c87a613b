#pragma once

#include "Engine/WebKitGtk/WebKitEngine.h"
#include "Engine/WebKitManager.h"
#include "Engine/WebViewRegistry.h"
#include "Fakes/FakeAuthenticator.h"
#include "Fakes/FakeProxyPasswords.h"
#include "Fakes/MemoryDefaults.h"
#include "Fakes/RecordingCookieVault.h"
#include "Fakes/RecordingLauncher.h"
#include "Fakes/SessionFakes.h"
#include "Platform/Linux/GLibMainQueue.h"
#include "Platform/Linux/ProcMemory.h"
#include "Platform/Linux/SqliteDefaults.h"
#include "Services/DownloadList.h"
#include "Services/Presentation.h"
#include "Services/ResourceMonitorService.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Services/StoredKeys.h"
#include "Services/TimeTracker.h"
#include "Services/WorkspaceRuntime.h"
#include "integration/Platform/TemporaryDirectory.h"

#include <glib.h>
#include <memory>
#include <string>
#include <vector>

namespace cohortex::bench {

using namespace cohortex::testing;

// A real session manager and runtime over the unit tests' fakes, with the real WebKitGTK engine for
// pages, in a temporary home: what the window's widget tests build, for timing instead of checking.
struct UiWorld {
    explicit UiWorld(const std::vector<WorkspaceSession>& list)
    {
        g_setenv("XDG_DATA_HOME", (home.path() / "data").c_str(), true);
        g_setenv("XDG_CACHE_HOME", (home.path() / "cache").c_str(), true);
        auto text = encodeWorkspaceList(list);
        defaults.setData(
            keys::workspaces, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        manager = std::make_unique<SessionManager>(SessionManager::Collaborators{
            queue, defaults, runtime, dataStores, keychain, routingRules, authenticator, windowHost });
    }

    static WorkspaceSession workspace(std::string name, const Url& initialURL)
    {
        return WorkspaceSession(Uuid::random(), std::move(name), initialURL, std::nullopt, "globe", "#FF9500",
            0, Uuid::random(), Date(100), Date(100));
    }

    TemporaryDirectory home;
    GLibMainQueue queue;
    // The real settings database, so that what the main thread waits for on a write is measured.
    std::unique_ptr<SqliteDefaults> database{
        SqliteDefaults::open(home.path() / "defaults.sqlite3").value()
    };
    SqliteDefaults& defaults{ *database };
    CallLog log;
    WorkspaceRuntime runtime{ nullptr };
    FakeDataStores dataStores{ log };
    FakeKeychain keychain{ log };
    RoutingRules routingRules{ defaults };
    FakeAuthenticator authenticator;
    FakeWindowHost windowHost;
    // The pages' real processes, read from /proc as the browser reads them.
    ProcMemory memory;
    WebViewRegistry registry{ memory };
    ResourceMonitorService resources{ defaults, registry, queue };
    TimeTracker timeTracker{ defaults };
    FakeIdleTime idleTime;
    FakeAlerts alerts;
    Presentation presentation{ queue };
    std::vector<std::string> engineEvents;
    RecordingCookieVault cookieVault{ engineEvents };
    FakeProxyPasswords proxyPasswords{ queue };
    WebKitEngine engine;
    WebKitManager stores{ queue, defaults, engine, cookieVault, proxyPasswords };
    testing::RecordingLauncher launcher;
    DownloadList downloads{ queue, launcher };
    std::unique_ptr<SessionManager> manager;
};

} // namespace cohortex::bench
