#include "App/WindowManager.h"

#include "Fakes/FakeHotKeys.h"
#include "KeyboardShortcuts/RecorderField.h"
#include "KeyboardShortcuts/ShortcutStore.h"
#include "MainLoopWait.h"
#include "RunProgram.h"
#include "UI/Settings/ShortcutRecorder.h"
#include "integration/UI/SessionGraph.h"

#include <gtest/gtest.h>
#include <gtkmm/application.h>
#include <gtkmm/applicationwindow.h>
#include <gtkmm/label.h>

// Last: Xlib's macros (None, Bool, Status, ...) would break toolkit headers included after them.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/x11/gdkx.h>

namespace cohortex {
namespace {

constexpr double timeout = 5;

// Windows can only join a registered application. With no window manager on the test's X server, the
// test plays its part.
class WindowManagerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_application
            = Gtk::Application::create("com.kestrelwick.Cohortex.Tests", Gio::Application::Flags::NON_UNIQUE);
        ASSERT_TRUE(s_application->register_application()) << "No display: run under xvfb-run";
    }
    static void TearDownTestSuite() { s_application.reset(); }

    void SetUp() override
    {
        windows = std::make_unique<WindowManager>(s_application);
        windows->setContentFactory([] { return Gtk::make_managed<Gtk::Label>("content"); });
    }

    void showAndFocus()
    {
        windows->showMainWindow();
        ASSERT_TRUE(runUntil([&] { return windows->mainWindow()->get_mapped(); }, timeout));
        focus(*windows->mainWindow());
        ASSERT_TRUE(runUntil([&] { return windows->isMainWindowKey(); }, timeout));
    }

    static ::Window xid(Gtk::Window& window)
    {
        return gdk_x11_surface_get_xid(gtk_native_get_surface(GTK_NATIVE(window.gobj())));
    }
    static Display* xdisplay() { return gdk_x11_display_get_xdisplay(gdk_display_get_default()); }
    static void focus(Gtk::Window& window)
    {
        XSetInputFocus(xdisplay(), xid(window), RevertToParent, CurrentTime);
        XFlush(xdisplay());
    }
    static void setHidden(Gtk::Window& window, bool hidden)
    {
        auto* display = xdisplay();
        Atom state = XInternAtom(display, "_NET_WM_STATE", false);
        Atom hiddenAtom = XInternAtom(display, "_NET_WM_STATE_HIDDEN", false);
        XChangeProperty(display, xid(window), state, XA_ATOM, 32, PropModeReplace,
            reinterpret_cast<unsigned char*>(&hiddenAtom), hidden ? 1 : 0);
        XFlush(display);
    }

    static inline Glib::RefPtr<Gtk::Application> s_application;
    std::unique_ptr<WindowManager> windows;
};

TEST_F(WindowManagerTest, TheWindowIsMadeOnTheFirstShowOrHeldShowKeptAcrossHideAndCloseAndHiddenWhenMinimised)
{
    EXPECT_TRUE(windows->reportsMinimising()) << "X11 says when a window is minimised";
    windows->holdShowing();
    windows->showMainWindow();
    EXPECT_FALSE(windows->isMainWindowVisible()) << "A show asked for during the hold waits for its end";
    windows->endHold();
    EXPECT_TRUE(windows->isMainWindowVisible());
    ASSERT_NO_FATAL_FAILURE(showAndFocus());
    auto* first = windows->mainWindow();

    first->close();
    ASSERT_TRUE(runUntil([&] { return !windows->isMainWindowVisible(); }, timeout));
    windows->showMainWindow();
    EXPECT_EQ(windows->mainWindow(), first);

    setHidden(*first, true);
    ASSERT_TRUE(runUntil([&] { return windows->isMainWindowMinimised(); }, timeout));
    EXPECT_FALSE(windows->isMainWindowVisible());
    setHidden(*first, false);
    ASSERT_TRUE(runUntil([&] { return windows->isMainWindowVisible(); }, timeout));
}

struct ApplicationCommands : testing::SessionGraph {
    ApplicationCommands(WindowHost& windows, Gtk::Application& application)
        : application(application)
    {
        build(windows, G_ACTION_MAP(application.gobj()));
        actions->setAccelerators(application.gobj());
    }
    ~ApplicationCommands()
    {
        for (const auto& command : commandTable->commands())
            g_action_map_remove_action(G_ACTION_MAP(application.gobj()), std::string(command->name).c_str());
    }

    Gtk::Application& application;
};

void press(const char* keys)
{
    ASSERT_TRUE(runProgram({ "xdotool", "key", keys }).succeeded);
}

// The window's keys are the command table's accelerators on the application: typed for real, Ctrl+W with
// a single tab left hides the window, and Ctrl+T opens a tab in it once it is shown again.
TEST_F(WindowManagerTest, TheCommandsKeysRunThemInTheWindow)
{
    if (!hasProgram("xdotool"))
        GTEST_SKIP() << "xdotool is not installed";
    ApplicationCommands app(*windows, *s_application);
    ASSERT_NO_FATAL_FAILURE(showAndFocus());
    auto active = *app.manager->activeWorkspace();
    app.runtime.load(active, Date::now());

    press("ctrl+w");
    EXPECT_TRUE(runUntil([&] { return !windows->isMainWindowVisible(); }, timeout));

    ASSERT_NO_FATAL_FAILURE(showAndFocus());
    press("ctrl+t");
    EXPECT_TRUE(runUntil([&] { return app.runtime.tabs(active.id).size() == 2; }, timeout));
}

// A shortcut being recorded sees the window's own keys before the application runs them: Ctrl+Q is
// refused with an alert instead of quitting.
TEST_F(WindowManagerTest, WhileAShortcutRecordsTheWindowsKeysAreRefusedNotRun)
{
    if (!hasProgram("xdotool"))
        GTEST_SKIP() << "xdotool is not installed";
    ApplicationCommands app(*windows, *s_application);
    FakeHotKeys hotKeys;
    ShortcutStore store(app.defaults, hotKeys);
    const Shortcut ctrlAltS{ 1, Shortcut::control | Shortcut::option };
    store.addName("toggleApp", ctrlAltS);
    testing::FakeAlerts alerts;
    Gtk::Button* recordButton = nullptr;
    windows->setContentFactory([&] {
        auto* recorder
            = Gtk::make_managed<ShortcutRecorder>(std::make_unique<RecorderField>(store, "toggleApp",
                                                      commandKeys(*app.commandTable), std::set<Shortcut>{}),
                alerts);
        recordButton = dynamic_cast<Gtk::Button*>(recorder->get_first_child()->get_next_sibling());
        return recorder;
    });
    ASSERT_NO_FATAL_FAILURE(showAndFocus());
    ASSERT_NE(recordButton, nullptr);
    recordButton->activate();
    ASSERT_TRUE(
        runUntil([&] { return recordButton->get_label().raw() == RecorderField::recordingText; }, timeout));

    press("ctrl+q");
    ASSERT_TRUE(runUntil([&] { return !alerts.shown.empty(); }, timeout));
    EXPECT_EQ(app.quits, 0) << "Ctrl+Q quit while a shortcut was being recorded";
    EXPECT_EQ(store.shortcut("toggleApp"), ctrlAltS);
    windows->destroyMainWindow(); // Before the store, which the recorder reads as it goes.
}

TEST_F(WindowManagerTest, DeactivationIsReportedOnceWhenNoWindowOfTheApplicationHasTheFocus)
{
    int deactivations = 0;
    windows->setDeactivationObserver([&] { ++deactivations; });
    ASSERT_NO_FATAL_FAILURE(showAndFocus());
    Gtk::Window settings;
    s_application->add_window(settings);
    settings.present();
    ASSERT_TRUE(runUntil([&] { return settings.get_mapped(); }, timeout));
    focus(settings);
    ASSERT_TRUE(runUntil([&] { return settings.is_active() && !windows->isMainWindowKey(); }, timeout));
    runFor(0.2);
    EXPECT_EQ(deactivations, 0);
    EXPECT_TRUE(windows->isApplicationActive());

    XSetInputFocus(xdisplay(), None, RevertToNone, CurrentTime);
    XFlush(xdisplay());
    ASSERT_TRUE(runUntil([&] { return deactivations > 0; }, timeout));
    runFor(0.2);
    EXPECT_EQ(deactivations, 1);
    EXPECT_FALSE(windows->isApplicationActive());
}

} // namespace
} // namespace cohortex
