#pragma once

#include "KeyboardShortcuts/HotKeyService.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace cohortex {

// Global shortcuts on an X11 desktop: each combination is grabbed on the root window (once for every
// mix of Caps Lock, Num Lock and Scroll Lock, which would otherwise make it miss), and reported when its
// key is let go. Auto-repeat is made detectable, so a combination held down is reported once. A grab
// another client already holds is refused (X answers BadAccess, trapped here): that shortcut is simply
// not active. It uses a connection of its own to the server the environment names, served from the main
// loop.
class X11HotKeys final : public HotKeyService {
public:
    // Nothing when no X server can be reached.
    static std::unique_ptr<X11HotKeys> open();
    ~X11HotKeys() override;
    X11HotKeys(const X11HotKeys&) = delete;
    X11HotKeys& operator=(const X11HotKeys&) = delete;

    bool isAvailable() const override { return true; }
    bool registerHotKey(const std::string& name, const Shortcut&) override;
    void unregisterHotKey(const std::string& name, const Shortcut&) override;
    void setReleaseHandler(ReleaseHandler) override;
    // Told the X server's time of each release before the handler runs, so that a window raised by the
    // shortcut can prove it answers the user (window managers refuse focus to windows that cannot).
    void setEventTimeObserver(std::function<void(std::uint32_t)>);

private:
    struct Connection;
    explicit X11HotKeys(std::unique_ptr<Connection>);
    void processEvents();

    std::unique_ptr<Connection> m_connection;
    ReleaseHandler m_onRelease;
    std::function<void(std::uint32_t)> m_onEventTime;
    // How many names listen for each combination: two names may share one grab.
    std::map<Shortcut, int> m_grabs;
    // The combination whose key is down, by key code, so that its release is reported even when a
    // modifier was let go first.
    std::map<unsigned, Shortcut> m_pressed;
};

} // namespace cohortex
