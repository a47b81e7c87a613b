#include "UI/MenuBar/WindowPlacement.h"

#include "Platform/Linux/GLibPtr.h"

#include <gtkmm/window.h>

// Last: Xlib's macros (None, Bool, Status, ...) would break toolkit headers included after them.
#include <X11/Xlib.h>
#include <gdk/x11/gdkx.h>

namespace cohortex::WindowPlacement {

namespace {

GdkDisplay* x11Display(Gtk::Window& window)
{
    auto* display = gtk_widget_get_display(GTK_WIDGET(window.gobj()));
    return GDK_IS_X11_DISPLAY(display) ? display : nullptr;
}

bool contains(const GdkRectangle& area, ScreenPoint point)
{
    return point.x >= area.x && point.x < area.x + area.width && point.y >= area.y
        && point.y < area.y + area.height;
}

} // namespace

std::optional<ScreenPoint> pointerPosition(Gtk::Window& window)
{
    auto* display = x11Display(window);
    if (!display)
        return std::nullopt;
    auto* xdisplay = gdk_x11_display_get_xdisplay(display);
    ::Window root = 0;
    ::Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned mask = 0;
    if (!XQueryPointer(
            xdisplay, DefaultRootWindow(xdisplay), &root, &child, &rootX, &rootY, &windowX, &windowY, &mask))
        return std::nullopt;
    return ScreenPoint{ rootX, rootY };
}

std::optional<ScreenRect> monitorArea(Gtk::Window& window, ScreenPoint point)
{
    auto* monitors = gdk_display_get_monitors(gtk_widget_get_display(GTK_WIDGET(window.gobj())));
    std::optional<ScreenRect> first;
    for (unsigned index = 0; index < g_list_model_get_n_items(monitors); ++index) {
        GObjectPtr<GdkMonitor> monitor(static_cast<GdkMonitor*>(g_list_model_get_item(monitors, index)));
        GdkRectangle area;
        gdk_monitor_get_geometry(monitor.get(), &area);
        ScreenRect rect{ area.x, area.y, area.width, area.height };
        if (contains(area, point))
            return rect;
        if (!first)
            first = rect;
    }
    return first;
}

bool move(Gtk::Window& window, ScreenPoint point)
{
    auto* display = x11Display(window);
    auto* surface = gtk_native_get_surface(GTK_NATIVE(window.gobj()));
    if (!display || !surface)
        return false;
    auto* xdisplay = gdk_x11_display_get_xdisplay(display);
    XMoveWindow(xdisplay, gdk_x11_surface_get_xid(surface), point.x, point.y);
    XFlush(xdisplay);
    return true;
}

} // namespace cohortex::WindowPlacement
