#pragma once

#include "App/WindowManager.h"
#include "Engine/WebViewRegistry.h"
#include "Fakes/FakeAuthenticator.h"
#include "Fakes/FakeProcessMemory.h"
#include "Fakes/MemoryDefaults.h"
#include "Fakes/RecordingLauncher.h"
#include "Fakes/SessionFakes.h"
#include "Platform/Linux/GLibMainQueue.h"
#include "Services/CommandTable.h"
#include "Services/DownloadList.h"
#include "Services/MenuBarModel.h"
#include "Services/Presentation.h"
#include "Services/ResourceMonitorService.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Services/StoredKeys.h"
#include "Services/WorkspaceRuntime.h"
#include "UI/Commands/CommandActions.h"
#include "integration/Platform/MainLoopWait.h"
#include "integration/UI/Widgets.h"

#include <gtest/gtest.h>
#include <gtkmm/application.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>
#include <memory>

namespace cohortex::testing {

// Cohortex as the tray sees it: a registered application on the test's private session bus with the
// command table as its actions, the real main window (made on its first show, hidden on close), and a real
// session manager over Mail, Chat and a locked Vault, with the unit tests' fakes behind it.
class MenuBarFixture : public ::testing::Test {
protected:
    // One application for the whole run, as in the program: its actions and its object on the bus stay
    // until the process ends.
    static void SetUpTestSuite()
    {
        if (s_application)
            return;
        s_application = Gtk::Application::create(
            "com.kestrelwick.Cohortex.MenuBarTests", Gio::Application::Flags::NON_UNIQUE);
        ASSERT_TRUE(s_application->register_application())
            << "Needs a display and a session bus: run under dbus-run-session and xvfb-run";
    }

    void SetUp() override
    {
        auto vaultRecord = workspace("Vault", 3);
        vaultRecord.requiresUnlock = true;
        auto text
            = encodeWorkspaceList(std::vector{ workspace("Mail", 1), workspace("Chat", 2), vaultRecord });
        defaults.setData(
            keys::workspaces, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        windows = std::make_unique<WindowManager>(s_application);
        windows->setContentFactory([] { return Gtk::make_managed<Gtk::Label>("content"); });
        sessions = std::make_unique<SessionManager>(SessionManager::Collaborators{
            queue, defaults, runtime, stores, keychain, routingRules, authenticator, *windows });
        commands = std::make_unique<CommandTable>(
            CommandTable::Dependencies{ *sessions, presentation, *windows, downloads, [this] { ++quits; } });
        actions = std::make_unique<CommandActions>(*commands);
        actions->addTo(G_ACTION_MAP(s_application->gobj()));
        model = std::make_unique<MenuBarModel>(*sessions, runtime, resources);
        mail = sessions->workspaces().get()[0];
        chat = sessions->workspaces().get()[1];
        vault = sessions->workspaces().get()[2];
    }

    void TearDown() override
    {
        windows->destroyMainWindow();
        runFor(0.05);
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

    static void click(GtkWidget* button)
    {
        ASSERT_NE(button, nullptr);
        // What a pointer click ends in, the button's action included.
        g_signal_emit_by_name(button, "clicked");
        runFor(0.05);
    }

    static inline Glib::RefPtr<Gtk::Application> s_application;

    GLibMainQueue queue;
    MemoryDefaults defaults;
    WorkspaceRuntime runtime{ nullptr };
    CallLog log;
    FakeDataStores stores{ log };
    FakeKeychain keychain{ log };
    RoutingRules routingRules{ defaults };
    FakeAuthenticator authenticator;
    FakeProcessMemory memory;
    WebViewRegistry registry{ memory };
    ResourceMonitorService resources{ defaults, registry, queue };
    Presentation presentation{ queue };
    RecordingLauncher launcher;
    DownloadList downloads{ queue, launcher };
    std::unique_ptr<WindowManager> windows;
    std::unique_ptr<SessionManager> sessions;
    std::unique_ptr<CommandTable> commands;
    std::unique_ptr<CommandActions> actions;
    std::unique_ptr<MenuBarModel> model;
    int quits{ 0 };
    WorkspaceSession mail = workspace("", 0);
    WorkspaceSession chat = workspace("", 0);
    WorkspaceSession vault = workspace("", 0);
};

} // namespace cohortex::testing
