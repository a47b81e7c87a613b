#pragma once

#include <functional>

namespace cohortex {

// What the session manager needs of the main window and the application around it.
class WindowHost {
public:
    virtual ~WindowHost() = default;

    virtual bool mainWindowExists() const = 0;
    // Exists, is shown and is not minimised: only then is its workspace on screen.
    virtual bool isMainWindowVisible() const = 0;
    virtual bool isMainWindowKey() const = 0;
    // Whether the desktop says when the window is minimised. Wayland under GTK before 4.12 does not:
    // there a minimised window still counts as visible.
    virtual bool reportsMinimising() const { return true; }
    virtual bool isApplicationActive() const = 0;
    // Creates the window on first use, restores it if minimised and brings it to the front.
    virtual void showMainWindow() = 0;
    // Hides without closing: the window and its pages are kept for the next show.
    virtual void hideMainWindow() = 0;

    // Called each time the application stops being the active one (none of its windows has the focus any
    // more). One observer at a time; an empty function removes it.
    virtual void setDeactivationObserver(std::function<void()>) = 0;
};

} // namespace cohortex
