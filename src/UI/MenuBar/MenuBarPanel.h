#pragma once

#include "Models/MenuBarMenu.h"
#include "Models/PanelPlacement.h"
#include "Support/ScopedConnection.h"

#include <cstdint>
#include <functional>
#include <gtkmm/box.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>
#include <vector>

namespace cohortex {

class MenuBarModel;
class MenuBarRowButton;

// The panel the tray icon opens: every workspace with its state, what Cohortex uses and has saved, and the
// commands to reach the rest. It is a small window of its own that closes as a menu does: when it loses
// the focus, on Escape, and once something in it was chosen. Its command buttons name the application's
// actions, so it must be a window of the application (or have the actions inserted as "app").
class MenuBarPanel : public Gtk::Window {
public:
    struct Dependencies {
        const MenuBarModel& model;
        // Opens a workspace and brings the main window forward; the panel has closed by then.
        std::function<void(const Uuid&)> openWorkspace;
    };

    explicit MenuBarPanel(Dependencies);

    // Opens near the point where the tray icon was clicked, or closes when already open: clicking the icon
    // again closes the panel, as it would a menu.
    void toggleAt(ScreenPoint click);
    void popUpAt(ScreenPoint click);

    static constexpr int width = 340;
    // Clicking the tray icon takes the focus from the open panel, which closes, just before the click
    // itself arrives; within this time the click was meant to close it, not to open it again.
    static constexpr std::int64_t reopenDelayMicroseconds = 300'000;

private:
    void build();
    void bind();
    void buildCommands();
    void showMenu(const MenuBarMenu&);
    void choose(const Uuid& workspaceId);
    void place();

    const MenuBarModel& m_model;
    std::function<void(const Uuid&)> m_openWorkspace;
    ScreenPoint m_click;
    // Only a panel that had the focus closes when it loses it: a window manager that never gives it the
    // focus must not close it at once.
    bool m_hasHadFocus{ false };
    // When it last closed, on the monotonic clock.
    std::int64_t m_hiddenAt{ 0 };

    Gtk::Box m_layout{ Gtk::Orientation::VERTICAL, 2 };
    Gtk::Label m_header;
    Gtk::Box m_rows{ Gtk::Orientation::VERTICAL, 0 };
    std::vector<MenuBarRowButton*> m_rowButtons;
    Gtk::Box m_memory{ Gtk::Orientation::HORIZONTAL, 8 };
    Gtk::Image m_memoryIcon;
    Gtk::Label m_memoryLine;
    Gtk::Box m_commands{ Gtk::Orientation::VERTICAL, 0 };
    ScopedConnection m_menuChanged;
};

} // namespace cohortex
