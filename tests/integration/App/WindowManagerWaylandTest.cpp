#include "App/WindowManager.h"
#include "MainLoopWait.h"

#include <cstdlib>
#include <gdk/gdk.h>
#include <gtest/gtest.h>
#include <gtkmm/application.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>
#include <string_view>

namespace cohortex {
namespace {

constexpr double timeout = 5;

// Under weston, where GTK before 4.12 hears nothing of minimising, hibernation and the relock go by the
// keyboard focus, so the adapter must report it truthfully.
class WindowManagerWaylandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* backend = std::getenv("GDK_BACKEND");
        if (!backend || std::string_view(backend) != "wayland")
            GTEST_SKIP() << "Not asked for Wayland: run under tests/integration/with-weston";
        application = Gtk::Application::create(
            "com.kestrelwick.Cohortex.WaylandTests", Gio::Application::Flags::NON_UNIQUE);
        ASSERT_TRUE(application->register_application());
        auto* display = gdk_display_get_default();
        ASSERT_TRUE(display && std::string_view(G_OBJECT_TYPE_NAME(display)) == "GdkWaylandDisplay")
            << "GTK did not connect to the compositor";
        windows = std::make_unique<WindowManager>(application);
        windows->setContentFactory([] { return Gtk::make_managed<Gtk::Label>("content"); });
    }

    Glib::RefPtr<Gtk::Application> application;
    std::unique_ptr<WindowManager> windows;
};

TEST_F(WindowManagerWaylandTest, SaysItCannotTellMinimisingAndReportsWhereTheFocusIs)
{
#if GTK_CHECK_VERSION(4, 12, 0)
    EXPECT_TRUE(windows->reportsMinimising()) << "GTK 4.12 hears when the compositor suspends the window";
#else
    EXPECT_FALSE(windows->reportsMinimising()) << "Trusting an unminimisable window would never hibernate it";
#endif
    windows->showMainWindow();
    ASSERT_TRUE(runUntil([&] { return windows->mainWindow()->get_mapped(); }, timeout));
    ASSERT_TRUE(runUntil([&] { return windows->isMainWindowKey(); }, timeout))
        << "The compositor gives a new window the focus";
    EXPECT_TRUE(windows->isMainWindowVisible());

    Gtk::Window other;
    other.present();
    ASSERT_TRUE(runUntil([&] { return !windows->isMainWindowKey(); }, timeout));
    EXPECT_TRUE(windows->isMainWindowVisible()) << "Losing the focus is not being minimised";
    other.destroy();
    windows->mainWindow()->present();
    EXPECT_TRUE(runUntil([&] { return windows->isMainWindowKey(); }, timeout));
}

} // namespace
} // namespace cohortex
