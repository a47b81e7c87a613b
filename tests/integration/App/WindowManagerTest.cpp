#include "App/WindowManager.h"

#include "App/KeyPressFromGdk.h"
#include "MainLoopWait.h"
#include "RunProgram.h"

#include <gtest/gtest.h>
#include <gtkmm/application.h>
#include <gtkmm/applicationwindow.h>
#include <gtkmm/label.h>

// Last: Xlib's macros (None, Bool, Status, ...) would break toolkit headers included after them.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/x11/gdkx.h>
// X.h names its key event type KeyPress too.
#undef KeyPress

namespace cohortex {
namespace {

constexpr double timeout = 5;

// One registered application for the whole run, as in the program: windows can only join a registered
// one. Without a window manager on the test's X server, the test itself plays its part where needed.
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
        windows->setContentFactory([this] {
            ++contentsMade;
            return Gtk::make_managed<Gtk::Label>("content");
        });
    }

    // Shows the window and waits until it is on screen, as a window manager would, with the focus.
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
    // What a window manager announces when it minimises a window or restores it.
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
    int contentsMade{ 0 };
};

TEST_F(WindowManagerTest, TheWindowIsMadeOnTheFirstShowAndKeptAcrossHideAndClose)
{
    EXPECT_FALSE(windows->mainWindowExists());
    EXPECT_FALSE(windows->isMainWindowVisible());
    EXPECT_EQ(contentsMade, 0);
    ASSERT_NO_FATAL_FAILURE(showAndFocus());
    auto* first = windows->mainWindow();
    EXPECT_TRUE(windows->isMainWindowVisible());
    EXPECT_EQ(first->get_title(), "Cohortex");
    int width = 0, height = 0;
    first->get_default_size(width, height);
    EXPECT_EQ(width, WindowManager::defaultWidth);
    EXPECT_EQ(height, WindowManager::defaultHeight);
    ASSERT_TRUE(runUntil([&] { return first->get_width() > 0; }, timeout));
    EXPECT_EQ(first->get_width(), WindowManager::defaultWidth);

    windows->hideMainWindow();
    EXPECT_FALSE(windows->isMainWindowVisible());
    EXPECT_TRUE(windows->mainWindowExists());
    windows->showMainWindow();
    EXPECT_TRUE(windows->isMainWindowVisible());

    first->close();
    ASSERT_TRUE(runUntil([&] { return !windows->isMainWindowVisible(); }, timeout));
    windows->showMainWindow();
    EXPECT_EQ(windows->mainWindow(), first);
    EXPECT_TRUE(windows->isMainWindowVisible());
    EXPECT_EQ(contentsMade, 1);
}

TEST_F(WindowManagerTest, AMinimisedWindowIsNotVisible)
{
    ASSERT_NO_FATAL_FAILURE(showAndFocus());
    setHidden(*windows->mainWindow(), true);
    ASSERT_TRUE(runUntil([&] { return windows->isMainWindowMinimised(); }, timeout));
    EXPECT_FALSE(windows->isMainWindowVisible());
    EXPECT_TRUE(windows->mainWindowExists());
    setHidden(*windows->mainWindow(), false);
    ASSERT_TRUE(runUntil([&] { return windows->isMainWindowVisible(); }, timeout));
}

TEST_F(WindowManagerTest, KeysReachTheMonitorFirstAndCtrlWPassedOnHidesTheWindow)
{
    if (!hasProgram("xdotool"))
        GTEST_SKIP() << "xdotool is not installed";
    std::vector<std::string> seen;
    windows->setKeyMonitor([&](const KeyPress& key) {
        // The modifier keys themselves arrive too, without text.
        if (key.text.empty())
            return false;
        seen.push_back(key.text + (key.hasOnlyPrimaryModifier() ? "+primary" : ""));
        return key.text == "t";
    });
    ASSERT_NO_FATAL_FAILURE(showAndFocus());
    ASSERT_TRUE(runProgram({ "xdotool", "key", "ctrl+t" }).succeeded);
    ASSERT_TRUE(runUntil([&] { return !seen.empty(); }, timeout));
    EXPECT_EQ(seen.front(), "t+primary");
    EXPECT_TRUE(windows->isMainWindowVisible());

    ASSERT_TRUE(runProgram({ "xdotool", "key", "ctrl+w" }).succeeded);
    ASSERT_TRUE(runUntil([&] { return !windows->isMainWindowVisible(); }, timeout));
    EXPECT_EQ(seen.back(), "w+primary");
    EXPECT_TRUE(windows->mainWindowExists());
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

struct GdkKeyCase {
    unsigned keyval;
    Gdk::ModifierType state;
    const char* text;
    std::uint8_t modifiers;
};

class KeyPressFromGdkTest : public ::testing::TestWithParam<GdkKeyCase> { };

TEST_P(KeyPressFromGdkTest, GivesTheLowerCaseKeyAndTheModifiersThatMatter)
{
    auto key = keyPressFromGdk(GetParam().keyval, GetParam().state);
    EXPECT_EQ(key.text, GetParam().text);
    EXPECT_EQ(key.modifiers, GetParam().modifiers);
}

using Mod = Gdk::ModifierType;
INSTANTIATE_TEST_SUITE_P(Keys, KeyPressFromGdkTest,
    ::testing::Values(GdkKeyCase{ GDK_KEY_t, Mod::CONTROL_MASK, "t", KeyPress::Control },
        GdkKeyCase{
            GDK_KEY_T, Mod::CONTROL_MASK | Mod::SHIFT_MASK, "t", KeyPress::Control | KeyPress::Shift },
        GdkKeyCase{
            GDK_KEY_T, Mod::CONTROL_MASK | Mod::LOCK_MASK, "t", KeyPress::Control | KeyPress::CapsLock },
        GdkKeyCase{ GDK_KEY_w, Mod::CONTROL_MASK | Mod::BUTTON1_MASK, "w", KeyPress::Control },
        GdkKeyCase{ GDK_KEY_t, Mod::META_MASK, "t", KeyPress::Super },
        GdkKeyCase{ GDK_KEY_Cyrillic_ie, Mod::ALT_MASK, "е", KeyPress::Alt },
        GdkKeyCase{ GDK_KEY_F5, Mod::CONTROL_MASK, "", KeyPress::Control }));

} // namespace
} // namespace cohortex
