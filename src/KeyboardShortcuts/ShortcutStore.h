#pragma once

#include "KeyboardShortcuts/HotKeyService.h"
#include "KeyboardShortcuts/Shortcut.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sigc++/signal.h>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

class DefaultsStore;

// Named global shortcuts: each name's combination is kept in the defaults store under
// "KeyboardShortcuts_" + name (a JSON string, or false when the user cleared a default), listened for
// through the hot-key service, and its key-up handlers are called when the combination is let go. Main
// thread only.
class ShortcutStore {
public:
    ShortcutStore(DefaultsStore&, HotKeyService&);
    ~ShortcutStore();
    ShortcutStore(const ShortcutStore&) = delete;
    ShortcutStore& operator=(const ShortcutStore&) = delete;

    // Declares a name; a default is stored when nothing at all is stored under the name yet.
    void addName(std::string name, std::optional<Shortcut> defaultShortcut);
    // Appends a handler, and listens for the name's combination if nothing does yet.
    void onKeyUp(const std::string& name, std::function<void()>);

    // The stored combination; nothing when cleared, never set or unreadable.
    std::optional<Shortcut> shortcut(const std::string& name) const;
    // Stores (or clears) the combination, keeping what is listened for in step. False when it could not
    // be stored, and then nothing changed.
    bool setShortcut(const std::string& name, std::optional<Shortcut>);
    // Whether the name's combination is being listened for (the desktop may have refused it).
    bool isActive(const std::string& name) const;

    // Called after every change of a name's stored value, with the name.
    sigc::signal<void(const std::string&)>& changed() { return m_changed; }

    // What the hot-key service reports: every name whose combination it is has its handlers called.
    void dispatch(const Shortcut&);

private:
    std::string key(const std::string& name) const;
    void listen(const std::string& name);
    void stopListening(const std::string& name);

    DefaultsStore& m_defaults;
    HotKeyService& m_hotKeys;
    std::map<std::string, std::optional<Shortcut>, std::less<>> m_defaultShortcuts;
    std::map<std::string, std::vector<std::function<void()>>, std::less<>> m_handlers;
    // The combination each name is listened for with, when the service took it.
    std::map<std::string, Shortcut, std::less<>> m_registered;
    sigc::signal<void(const std::string&)> m_changed;
};

} // namespace cohortex
