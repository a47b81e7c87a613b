#include "App/WindowManager.h"

#include "UI/ApplicationWindows.h"

#include <adwaita.h>
#include <glibmm/main.h>
#include <gtk/gtk.h>
#include <gtkmm/application.h>
#include <gtkmm/applicationwindow.h>
#include <string_view>
#include <utility>

namespace cohortex {

WindowManager::WindowManager(Glib::RefPtr<Gtk::Application> application)
    : m_application(std::move(application))
{
    // Without an application (a command answered where there is no display) there is never a window.
    if (!m_application)
        return;
    // Every window of the application counts towards it being active, the settings window too.
    m_windowAdded = m_application->signal_window_added().connect(
        [this](Gtk::Window* window) { observeActivity(*window); });
}

WindowManager::~WindowManager()
{
    destroyMainWindow();
}

void WindowManager::setContentFactory(ContentFactory makeContent)
{
    m_makeContent = std::move(makeContent);
}

Gtk::Window* WindowManager::mainWindow() const
{
    return m_window.get();
}

void WindowManager::destroyMainWindow()
{
    m_pendingActivityCheck.disconnect();
    m_activityConnections.clear();
    m_window.reset();
}

bool WindowManager::mainWindowExists() const
{
    return m_window != nullptr;
}

bool WindowManager::isMainWindowMinimised() const
{
    if (!m_window)
        return false;
    auto* surface = gtk_native_get_surface(GTK_NATIVE(m_window->gobj()));
    if (!surface || !GDK_IS_TOPLEVEL(surface))
        return false;
    auto state = gdk_toplevel_get_state(GDK_TOPLEVEL(surface));
#if GTK_CHECK_VERSION(4, 12, 0)
    // Wayland says only that the window cannot be seen, which is what matters here anyway.
    if (state & GDK_TOPLEVEL_STATE_SUSPENDED)
        return true;
#endif
    return state & GDK_TOPLEVEL_STATE_MINIMIZED;
}

bool WindowManager::reportsMinimising() const
{
#if GTK_CHECK_VERSION(4, 12, 0)
    return true;
#else
    // No Wayland compositor tells a client it was minimised; GTK from 4.12 on hears that it is suspended.
    auto* display = gdk_display_get_default();
    return !display || std::string_view(G_OBJECT_TYPE_NAME(display)) != "GdkWaylandDisplay";
#endif
}

bool WindowManager::isMainWindowVisible() const
{
    return m_window && m_window->get_visible() && !isMainWindowMinimised();
}

bool WindowManager::isMainWindowKey() const
{
    return m_window && m_window->is_active();
}

bool WindowManager::isApplicationActive() const
{
    if (!m_application)
        return false;
    for (const auto* window : m_application->get_windows()) {
        if (window->is_active())
            return true;
    }
    return false;
}

void WindowManager::showMainWindow()
{
    if (!m_application)
        return;
    if (m_isHeld) {
        prepareMainWindow();
        m_isShowWanted = true;
        return;
    }
    if (!m_window)
        createMainWindow();
    else if (isMainWindowMinimised())
        m_window->unminimize();
    // Before the window is first styled and drawn (see CohortexApp::startup).
    adw_init();
    gtk_window_present_with_time(GTK_WINDOW(m_window->gobj()), std::exchange(m_presentTime, 0u));
}

void WindowManager::endHold()
{
    if (!std::exchange(m_isHeld, false))
        return;
    if (std::exchange(m_isShowWanted, false))
        showMainWindow();
}

void WindowManager::prepareMainWindow()
{
    if (m_application && !m_window)
        createMainWindow();
}

void WindowManager::hideMainWindow()
{
    if (!m_window || !m_window->get_visible())
        return;
    m_window->hide();
    closed();
}

void WindowManager::createMainWindow()
{
    m_window = std::make_unique<Gtk::ApplicationWindow>();
    m_window->set_title("Cohortex");
    m_window->set_default_size(defaultWidth, defaultHeight);
    m_window->set_size_request(minimumWidth, minimumHeight);
    // Closing only hides it: the pages of every loaded workspace live on for the next show.
    m_window->set_hide_on_close(true);
    m_window->signal_close_request().connect(
        [this] {
            closed();
            // Not handled here: GTK goes on to hide the window.
            return false;
        },
        false);
    if (m_makeContent)
        m_window->set_child(*m_makeContent());
    // Adding the window to the application connects its activity through signal_window_added.
    keepInApplication(*m_window, m_application);
}

void WindowManager::setDeactivationObserver(std::function<void()> observer)
{
    m_deactivationObserver = std::move(observer);
}

void WindowManager::setCloseObserver(std::function<void()> observer)
{
    m_closeObserver = std::move(observer);
}

void WindowManager::closed()
{
    if (m_closeObserver)
        m_closeObserver();
}

void WindowManager::observeActivity(Gtk::Window& window)
{
    // A window shown again is added again: it replaces its own earlier connection.
    m_activityConnections[&window] = window.property_is_active().signal_changed().connect(
        [this, &window] { activityChanged(window.is_active()); });
}

void WindowManager::activityChanged(bool windowIsActive)
{
    if (windowIsActive) {
        m_wasApplicationActive = true;
        return;
    }
    // Focus moving between two of our windows leaves neither active for a moment; decide once the
    // events of the move have been handled.
    if (!m_pendingActivityCheck.isConnected()) {
        m_pendingActivityCheck = Glib::signal_idle().connect([this] {
            checkApplicationStillActive();
            return false;
        });
    }
}

void WindowManager::checkApplicationStillActive()
{
    if (!m_wasApplicationActive || isApplicationActive())
        return;
    m_wasApplicationActive = false;
    if (m_deactivationObserver)
        m_deactivationObserver();
}

} // namespace cohortex
