#pragma once

#include <cstdint>
#include <string>

namespace cohortex {

// A key pressed in one of the application's windows, as the window hands it over before anything in it
// has handled the key.
struct KeyPress {
    enum Modifier : std::uint8_t {
        Shift = 1 << 0,
        Control = 1 << 1,
        Alt = 1 << 2,
        // Super, Meta and Hyper: the desktop's own shortcut keys.
        Super = 1 << 3,
        // Held like a modifier so that a shortcut typed with Caps Lock on is left to the rest of the window,
        // as an upper-case letter would be. Num Lock is a lasting state, not a modifier, and is not reported.
        CapsLock = 1 << 4,
    };

    // The application's own shortcuts use this modifier, alone.
    static constexpr std::uint8_t primaryModifier = Control;

    // The key's text without its modifiers, in lower case: "t" for Ctrl+T and for Ctrl+Shift+T alike.
    std::string text;
    std::uint8_t modifiers{ 0 };

    bool hasOnlyPrimaryModifier() const { return modifiers == primaryModifier; }
};

} // namespace cohortex
