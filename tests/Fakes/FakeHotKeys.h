#pragma once

#include "KeyboardShortcuts/HotKeyService.h"

#include <map>
#include <set>
#include <string>
#include <utility>

namespace cohortex {

// Listens for what it is told, refuses what another program is said to hold, and lets the test release.
class FakeHotKeys final : public HotKeyService {
public:
    bool isAvailable() const override { return available; }
    bool registerHotKey(const std::string&, const Shortcut& shortcut) override
    {
        if (heldElsewhere.contains(shortcut))
            return false;
        ++grabs[shortcut];
        return true;
    }
    void unregisterHotKey(const std::string&, const Shortcut& shortcut) override
    {
        if (--grabs[shortcut] == 0)
            grabs.erase(shortcut);
    }
    void setReleaseHandler(ReleaseHandler handler) override { release = std::move(handler); }

    bool available{ true };
    std::map<Shortcut, int> grabs;
    std::set<Shortcut> heldElsewhere;
    ReleaseHandler release;
};

} // namespace cohortex
