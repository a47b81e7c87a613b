#pragma once

#include "Engine/WebKitGtk/WebKitEngine.h"
#include "Engine/WebKitManager.h"
#include "Fakes/FakeProxyPasswords.h"
#include "Fakes/RecordingCookieVault.h"
#include "Services/SitePermissions.h"
#include "Services/TimeTracker.h"
#include "UI/WorkspaceWindow/WorkspaceWindowView.h"
#include "integration/Platform/TemporaryDirectory.h"
#include "integration/UI/SessionGraph.h"
#include "integration/UI/Widgets.h"

#include <adwaita.h>
#include <gtest/gtest.h>
#include <gtkmm/init.h>
#include <gtkmm/window.h>

namespace cohortex::testing {

// The window's content over the session graph, with the real engine in a temporary home.
class WorkspaceWindowFixture : public ::testing::Test, public SessionGraph {
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

    void SetUp() override { build(windowHost, G_ACTION_MAP(actionGroup.get())); }

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

    void present()
    {
        view
            = std::make_unique<WorkspaceWindowView>(WorkspaceWindowView::Dependencies{ *manager, presentation,
                runtime, stores, { queue, engine, stores, registry, downloads, &launcher, &sitePermissions },
                keychain, authenticator, resources, alerts });
        showInWindow(*view);
    }
    void showInWindow(Gtk::Widget& content)
    {
        window = std::make_unique<Gtk::Window>();
        gtk_widget_insert_action_group(GTK_WIDGET(window->gobj()), "app", G_ACTION_GROUP(actionGroup.get()));
        window->set_default_size(900, 600);
        window->set_child(content);
        window->present();
        ASSERT_TRUE(runUntil([&] { return content.get_mapped(); }));
        settle();
    }
    static void settle() { runFor(std::chrono::milliseconds(50)); }
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
    static std::vector<std::string> namesOn(GtkWidget* row)
    {
        std::vector<std::string> names;
        for (auto* button : shownUnder(row, [](GtkWidget* w) { return GTK_IS_TOGGLE_BUTTON(w); })) {
            auto texts = shownTexts(button);
            names.push_back(texts.empty() ? "" : texts.front());
        }
        return names;
    }
    std::vector<std::string> workspaceLabels() const { return namesOn(workspaceRow()); }
    std::vector<std::string> tabLabels() const { return namesOn(contentArea()); }
    GtkWidget* workspaceButton(const std::string& name) const { return button(workspaceRow(), name); }
    GtkWidget* tabButton(const std::string& name) const { return button(contentArea(), name); }
    // The page on screen: the visible child of the stack under the lock's overlay.
    GtkWidget* shownPage() const
    {
        auto* overlay = firstShown(root(), [](GtkWidget* w) {
            return GTK_IS_OVERLAY(w) && GTK_IS_STACK(gtk_overlay_get_child(GTK_OVERLAY(w)));
        });
        return overlay ? gtk_stack_get_visible_child(GTK_STACK(gtk_overlay_get_child(GTK_OVERLAY(overlay))))
                       : nullptr;
    }

    TemporaryDirectory m_home;
    FakeWindowHost windowHost;
    GObjectPtr<GSimpleActionGroup> actionGroup{ g_simple_action_group_new() };
    TimeTracker timeTracker{ defaults };
    FakeAlerts alerts;
    std::vector<std::string> engineEvents;
    RecordingCookieVault cookieVault{ engineEvents };
    FakeProxyPasswords proxyPasswords{ queue };
    WebKitEngine engine;
    WebKitManager stores{ queue, defaults, engine, cookieVault, proxyPasswords };
    SitePermissions sitePermissions{ defaults, queue };
    std::unique_ptr<WorkspaceWindowView> view;
    std::unique_ptr<Gtk::Window> window;
};

} // namespace cohortex::testing
