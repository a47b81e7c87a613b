#pragma once

#include "Engine/WebKitGtk/WebKitEngine.h"
#include "Engine/WebKitManager.h"
#include "Engine/WebViewRegistry.h"
#include "Fakes/FakeAuthenticator.h"
#include "Fakes/FakeProcessMemory.h"
#include "Fakes/FakeProxyPasswords.h"
#include "Fakes/MemoryDefaults.h"
#include "Fakes/RecordingCookieVault.h"
#include "Fakes/RecordingLauncher.h"
#include "Fakes/SessionFakes.h"
#include "Platform/Linux/GLibMainQueue.h"
#include "Services/CommandTable.h"
#include "Services/DownloadList.h"
#include "Services/Presentation.h"
#include "Services/ResourceMonitorService.h"
#include "Services/RoutingRules.h"
#include "Services/SessionManager.h"
#include "Services/SitePermissions.h"
#include "Services/StoredKeys.h"
#include "Services/TimeTracker.h"
#include "Services/WorkspaceRuntime.h"
#include "UI/Commands/CommandActions.h"
#include "UI/WorkspaceWindow/WorkspaceWindowView.h"
#include "integration/Engine/MainLoop.h"
#include "integration/Platform/TemporaryDirectory.h"
#include "integration/UI/Widgets.h"

#include <adwaita.h>
#include <gtest/gtest.h>
#include <gtkmm/init.h>
#include <gtkmm/window.h>
#include <memory>

namespace cohortex::testing {

// The window's content over a real session manager and runtime, with the fakes of the unit tests for
// the keyring, the data-store preparation and the owner's authentication, and the real WebKitGTK
// engine for the pages, in a temporary home. Mail, Chat and a locked Vault start on blank pages.
class WorkspaceWindowFixture : public ::testing::Test {
protected:
    WorkspaceWindowFixture()
    {
        Gtk::init_gtkmm_internals();
        // The application's own style, so that screenshots show what users see.
        adw_init();
        g_setenv("XDG_DATA_HOME", (m_home.path() / "data").c_str(), true);
        g_setenv("XDG_CACHE_HOME", (m_home.path() / "cache").c_str(), true);
    }
    ~WorkspaceWindowFixture() override
    {
        g_unsetenv("XDG_DATA_HOME");
        g_unsetenv("XDG_CACHE_HOME");
    }

    void SetUp() override
    {
        auto vaultRecord = workspace("Vault", 3);
        vaultRecord.requiresUnlock = true;
        auto list = std::vector{ workspace("Mail", 1), workspace("Chat", 2), vaultRecord };
        auto text = encodeWorkspaceList(list);
        defaults.setData(
            keys::workspaces, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        manager = std::make_unique<SessionManager>(SessionManager::Collaborators{
            queue, defaults, runtime, dataStores, keychain, routingRules, authenticator, windowHost });
        commandTable = std::make_unique<CommandTable>(
            CommandTable::Dependencies{ *manager, presentation, windowHost, downloads, [this] { ++quits; } });
        actions = std::make_unique<CommandActions>(*commandTable);
        actions->addTo(G_ACTION_MAP(actionGroup.get()));
        mail = manager->workspaces().get()[0];
        chat = manager->workspaces().get()[1];
        vault = manager->workspaces().get()[2];
    }

    void TearDown() override
    {
        if (window) {
            window->unset_child();
            window->destroy();
        }
        view.reset();
        window.reset();
        runFor(std::chrono::milliseconds(50));
    }

    // Shows the view in a window of its own and waits until it is on screen.
    void present()
    {
        view
            = std::make_unique<WorkspaceWindowView>(WorkspaceWindowView::Dependencies{ *manager, presentation,
                runtime, stores, { queue, engine, stores, registry, downloads, &launcher, &sitePermissions },
                keychain, authenticator, resources, alerts });
        window = std::make_unique<Gtk::Window>();
        installActions(*window);
        window->set_default_size(900, 600);
        window->set_child(*view);
        window->present();
        ASSERT_TRUE(runUntil([this] { return view->get_mapped(); }));
        settle();
    }
    // The application's actions, as the windows of the running application reach them.
    void installActions(Gtk::Window& target)
    {
        gtk_widget_insert_action_group(GTK_WIDGET(target.gobj()), "app", G_ACTION_GROUP(actionGroup.get()));
    }
    // Lets posted work and redraws run.
    static void settle() { runFor(std::chrono::milliseconds(100)); }
    static void click(GtkWidget* button)
    {
        ASSERT_NE(button, nullptr);
        // What a pointer click ends in; keyboard activation would wait for the press animation first.
        g_signal_emit_by_name(button, "clicked");
        settle();
    }

    GtkWidget* root() const { return GTK_WIDGET(view->gobj()); }
    // The window's rows and pages, under the layer that the quick switcher covers them with.
    GtkWidget* body() const { return gtk_overlay_get_child(GTK_OVERLAY(gtk_widget_get_first_child(root()))); }
    GtkWidget* workspaceRow() const { return gtk_widget_get_first_child(body()); }
    GtkWidget* contentArea() const { return gtk_widget_get_last_child(body()); }
    // What the user sees: the names on the workspace row's buttons and on the tab row's.
    static std::vector<GtkWidget*> toggles(GtkWidget* row)
    {
        return shownUnder(row, [](GtkWidget* w) { return GTK_IS_TOGGLE_BUTTON(w); });
    }
    static std::string nameOn(GtkWidget* button)
    {
        auto* name = firstShown(button, [](GtkWidget* w) { return GTK_IS_LABEL(w); });
        return name ? gtk_label_get_text(GTK_LABEL(name)) : "";
    }
    static std::vector<std::string> namesOn(GtkWidget* row)
    {
        std::vector<std::string> names;
        for (auto* button : toggles(row))
            names.push_back(nameOn(button));
        return names;
    }
    static GtkWidget* toggleNamed(GtkWidget* row, const std::string& name)
    {
        for (auto* button : toggles(row))
            if (nameOn(button) == name)
                return button;
        return nullptr;
    }
    std::vector<std::string> workspaceLabels() const { return namesOn(workspaceRow()); }
    std::vector<std::string> tabLabels() const { return namesOn(contentArea()); }
    GtkWidget* workspaceButton(const std::string& name) const { return toggleNamed(workspaceRow(), name); }
    GtkWidget* tabButton(const std::string& name) const { return toggleNamed(contentArea(), name); }
    // The page on screen: the visible child of the stack under the lock's overlay.
    GtkWidget* shownPage() const
    {
        auto* overlay = firstShown(root(), [](GtkWidget* w) {
            return GTK_IS_OVERLAY(w) && GTK_IS_STACK(gtk_overlay_get_child(GTK_OVERLAY(w)));
        });
        return overlay ? gtk_stack_get_visible_child(GTK_STACK(gtk_overlay_get_child(GTK_OVERLAY(overlay))))
                       : nullptr;
    }

    static WorkspaceSession workspace(std::string name, std::int64_t shortcutIndex)
    {
        return WorkspaceSession(Uuid::random(), std::move(name), *Url::parse("about:blank"), std::nullopt,
            "globe", "#FF9500", shortcutIndex, Uuid::random(), Date(100), Date(100));
    }

    TemporaryDirectory m_home;
    GLibMainQueue queue;
    MemoryDefaults defaults;
    CallLog log;
    WorkspaceRuntime runtime{ nullptr };
    FakeDataStores dataStores{ log };
    FakeKeychain keychain{ log };
    RoutingRules routingRules{ defaults };
    FakeAuthenticator authenticator;
    FakeWindowHost windowHost;
    FakeProcessMemory memory;
    WebViewRegistry registry{ memory };
    ResourceMonitorService resources{ defaults, registry, queue };
    TimeTracker timeTracker{ defaults };
    FakeAlerts alerts;
    std::vector<std::string> engineEvents;
    RecordingCookieVault cookieVault{ engineEvents };
    FakeProxyPasswords proxyPasswords{ queue };
    WebKitEngine engine;
    WebKitManager stores{ queue, defaults, engine, cookieVault, proxyPasswords };
    Presentation presentation{ queue };
    RecordingLauncher launcher;
    DownloadList downloads{ queue, launcher };
    SitePermissions sitePermissions{ defaults, queue };
    std::unique_ptr<SessionManager> manager;
    std::unique_ptr<CommandTable> commandTable;
    std::unique_ptr<CommandActions> actions;
    GObjectPtr<GSimpleActionGroup> actionGroup{ g_simple_action_group_new() };
    int quits{ 0 };
    WorkspaceSession mail = workspace("", 0);
    WorkspaceSession chat = workspace("", 0);
    WorkspaceSession vault = workspace("", 0);

    std::unique_ptr<WorkspaceWindowView> view;
    std::unique_ptr<Gtk::Window> window;
};

} // namespace cohortex::testing
