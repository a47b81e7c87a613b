#pragma once

#include "KeyboardShortcuts/HotKeyService.h"

namespace cohortex {

// Where the desktop offers no way to listen for keys pressed in other applications: nothing is active,
// and the settings say how to bind the command lines in the desktop's own keyboard settings instead.
class NoHotKeys final : public HotKeyService {
public:
    bool isAvailable() const override { return false; }
    bool registerHotKey(const std::string&, const Shortcut&) override { return false; }
    void unregisterHotKey(const std::string&, const Shortcut&) override { }
    void setReleaseHandler(ReleaseHandler) override { }
};

} // namespace cohortex
