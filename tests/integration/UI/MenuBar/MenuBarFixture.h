#pragma once

#include "App/WindowManager.h"
#include "Services/MenuBarModel.h"
#include "integration/UI/SessionGraph.h"
#include "integration/UI/Widgets.h"

#include <gtest/gtest.h>
#include <gtkmm/application.h>
#include <gtkmm/label.h>

namespace cohortex::testing {

constexpr double timeout = 5;

// A registered application on the test's private session bus with the command table as its actions, the
// real main window and the session graph.
class MenuBarFixture : public ::testing::Test, public SessionGraph {
protected:
    // One application for the whole run: as in the program, its actions stay until the process ends.
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
        windows = std::make_unique<WindowManager>(s_application);
        windows->setContentFactory([] { return Gtk::make_managed<Gtk::Label>("content"); });
        build(*windows, G_ACTION_MAP(s_application->gobj()));
        model = std::make_unique<MenuBarModel>(*manager, runtime, resources);
    }

    void TearDown() override
    {
        windows->destroyMainWindow();
        runFor(0.05);
    }

    static void click(GtkWidget* button)
    {
        ASSERT_NE(button, nullptr);
        // What a pointer click ends in, the button's action included.
        g_signal_emit_by_name(button, "clicked");
        runFor(0.05);
    }

    static inline Glib::RefPtr<Gtk::Application> s_application;
    std::unique_ptr<WindowManager> windows;
    std::unique_ptr<MenuBarModel> model;
};

} // namespace cohortex::testing
