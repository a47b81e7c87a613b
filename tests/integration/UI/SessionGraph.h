#pragma once

#include "Engine/WebViewRegistry.h"
#include "Fakes/FakeAuthenticator.h"
#include "Fakes/FakeProcessMemory.h"
#include "Fakes/MemoryDefaults.h"
#include "Fakes/RecordingLauncher.h"
#include "Fakes/SessionFakes.h"
#include "Platform/Linux/GLibMainQueue.h"
#include "Services/CommandTable.h"
#include "Services/DownloadList.h"
#include "Services/Presentation.h"
#include "Services/ResourceMonitorService.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Services/StoredKeys.h"
#include "Services/WorkspaceRuntime.h"
#include "UI/Commands/CommandActions.h"
#include "integration/Engine/MainLoop.h"

#include <memory>

namespace cohortex::testing {

// The objects under the windows, wired as the program wires them: a real session manager over Mail, Chat
// and a locked Vault and the command table with its actions; the window host is the caller's.
struct SessionGraph {
    void build(WindowHost& windows, GActionMap* actionMap)
    {
        auto vaultRecord = workspace("Vault", 3);
        vaultRecord.requiresUnlock = true;
        auto text
            = encodeWorkspaceList(std::vector{ workspace("Mail", 1), workspace("Chat", 2), vaultRecord });
        defaults.setData(
            keys::workspaces, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        manager = std::make_unique<SessionManager>(SessionManager::Collaborators{
            queue, defaults, runtime, dataStores, keychain, routingRules, authenticator, windows });
        commandTable = std::make_unique<CommandTable>(
            CommandTable::Dependencies{ *manager, presentation, windows, downloads, [this] { ++quits; } });
        actions = std::make_unique<CommandActions>(*commandTable);
        actions->addTo(actionMap);
        mail = manager->workspaces().get()[0];
        chat = manager->workspaces().get()[1];
        vault = manager->workspaces().get()[2];
    }

    // Sets a page title in the workspace's first tab, loading the workspace first.
    void setTitle(const WorkspaceSession& workspace, std::string title)
    {
        runtime.load(workspace, Date(200));
        runtime.updateTab(
            runtime.tabs(workspace.id).front().id, workspace.id, std::move(title), std::nullopt);
    }

    static WorkspaceSession workspace(std::string name, std::int64_t shortcutIndex)
    {
        return WorkspaceSession(Uuid::random(), std::move(name), *Url::parse("about:blank"), std::nullopt,
            "envelope.fill", "#FF9500", shortcutIndex, Uuid::random(), Date(100), Date(100));
    }

    GLibMainQueue queue;
    MemoryDefaults defaults;
    CallLog log;
    WorkspaceRuntime runtime{ nullptr };
    FakeDataStores dataStores{ log };
    FakeKeychain keychain{ log };
    RoutingRules routingRules{ defaults };
    FakeAuthenticator authenticator;
    FakeProcessMemory memory;
    WebViewRegistry registry{ memory };
    ResourceMonitorService resources{ defaults, registry, queue };
    Presentation presentation{ queue };
    RecordingLauncher launcher;
    DownloadList downloads{ queue, launcher };
    std::unique_ptr<SessionManager> manager;
    std::unique_ptr<CommandTable> commandTable;
    std::unique_ptr<CommandActions> actions;
    int quits{ 0 };
    WorkspaceSession mail = workspace("", 0);
    WorkspaceSession chat = workspace("", 0);
    WorkspaceSession vault = workspace("", 0);
};

} // namespace cohortex::testing
