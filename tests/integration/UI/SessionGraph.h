#pragma once

#include "Fakes/RecordingLauncher.h"
#include "Fakes/ServiceGraph.h"
#include "Platform/Linux/GLibMainQueue.h"
#include "Services/CommandTable.h"
#include "Services/DownloadList.h"
#include "UI/Commands/CommandActions.h"
#include "integration/Engine/MainLoop.h"

#include <memory>

namespace cohortex::testing {

// The objects under the windows, wired as the program wires them: a real session manager over Mail, Chat
// and a locked Vault and the command table with its actions; the window host is the caller's.
struct SessionGraph : ServiceGraph<GLibMainQueue> {
    void build(WindowHost& windows, GActionMap* actionMap)
    {
        auto vaultRecord = workspace("Vault", 3);
        vaultRecord.requiresUnlock = true;
        storeList({ workspace("Mail", 1), workspace("Chat", 2), vaultRecord });
        manager = makeManager(windows);
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
