#pragma once

#include "Services/WindowHost.h"
#include "Support/ScopedConnection.h"

#include <cstdint>
#include <functional>
#include <glibmm/refptr.h>
#include <map>
#include <memory>
#include <vector>

namespace Gtk {
class Application;
class ApplicationWindow;
class Widget;
class Window;
} // namespace Gtk

namespace cohortex {

// The one main window of the application. It is made on the first show and kept for the life of the
// process: closing it only hides it, so its pages and their state are there again on the next show.
// Nothing here touches the display before that first show, so the application's objects can be built
// where there is none.
class WindowManager final : public WindowHost {
public:
    // Makes the window's content, once, when the window is first shown. The widget returned is managed.
    using ContentFactory = std::function<Gtk::Widget*()>;

    static constexpr int defaultWidth = 1180;
    static constexpr int defaultHeight = 780;
    static constexpr int minimumWidth = 800;
    static constexpr int minimumHeight = 500;

    explicit WindowManager(Glib::RefPtr<Gtk::Application>);
    ~WindowManager() override;
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    void setContentFactory(ContentFactory);
    // The window, or nullptr before the first show: the parent of the application's dialogs.
    Gtk::Window* mainWindow() const;
    // Destroys the window and its content; the application does so while everything the content
    // refers to still exists.
    void destroyMainWindow();

    bool mainWindowExists() const override;
    bool isMainWindowVisible() const override;
    bool isMainWindowKey() const override;
    bool reportsMinimising() const override;
    bool isApplicationActive() const override;
    void showMainWindow() override;
    // Makes the window and its content without showing it, so its pages can start loading while the
    // launch waits to show it.
    void prepareMainWindow();
    void hideMainWindow() override;
    // While the window is held back, a request to show it makes it hidden and is kept; ending the hold
    // shows it if one was asked for meanwhile.
    void holdShowing() { m_isHeld = true; }
    void endHold();
    void setDeactivationObserver(std::function<void()>) override;
    // Called each time the user closes the shown window or a command hides it, never when the application
    // takes it down at the end. One observer at a time; an empty function removes it.
    void setCloseObserver(std::function<void()>);

    bool isMainWindowMinimised() const;
    // The X server time of the key press that asked for the window; the next show presents it with that
    // time, which window managers require before they let it take the focus from another application.
    void setPresentTime(std::uint32_t time) { m_presentTime = time; }

private:
    void createMainWindow();
    void observeActivity(Gtk::Window&);
    void activityChanged(bool windowIsActive);
    void checkApplicationStillActive();
    void closed();

    Glib::RefPtr<Gtk::Application> m_application;
    ContentFactory m_makeContent;
    std::unique_ptr<Gtk::ApplicationWindow> m_window;
    std::function<void()> m_deactivationObserver;
    std::function<void()> m_closeObserver;
    // Whether the application counted as active at the last change, so that each loss is reported once.
    bool m_wasApplicationActive{ false };
    ScopedConnection m_windowAdded;
    std::map<const Gtk::Window*, ScopedConnection> m_activityConnections;
    ScopedConnection m_pendingActivityCheck;
    std::uint32_t m_presentTime{ 0 };
    bool m_isHeld{ false };
    bool m_isShowWanted{ false };
};

} // namespace cohortex
