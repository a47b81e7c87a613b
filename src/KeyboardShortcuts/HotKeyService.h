#pragma once

#include "KeyboardShortcuts/Shortcut.h"

#include <functional>
#include <string>

namespace cohortex {

// What the shortcut store needs of the desktop: combinations pressed anywhere, reported when released.
class HotKeyService {
public:
    // Called with the combination when its keys are let go, once however long they were held.
    using ReleaseHandler = std::function<void(const Shortcut&)>;

    virtual ~HotKeyService() = default;

    // Whether this desktop lets the application listen for keys pressed in other applications.
    virtual bool isAvailable() const = 0;
    // Listens for the combination of the named shortcut; false when the desktop refuses (another
    // application holds it), and the shortcut is then simply not active.
    virtual bool registerHotKey(const std::string& name, const Shortcut&) = 0;
    virtual void unregisterHotKey(const std::string& name, const Shortcut&) = 0;
    virtual void setReleaseHandler(ReleaseHandler) = 0;
};

} // namespace cohortex
