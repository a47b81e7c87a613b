#pragma once

#include "KeyboardShortcuts/Shortcut.h"

#include <cstdint>
#include <optional>
#include <string>

namespace cohortex {

// The fixed table between the stored key codes and the keys of this desktop: X keysyms, which GTK's
// key values equal for every key here (letters, digits, punctuation, F1 to F20, the special keys and the
// numeric pad). A key outside the table cannot be stored or grabbed.
namespace KeyTable {

// The keysym of the key's unshifted character (the lower-case letter), or nothing.
std::optional<std::uint32_t> keysym(std::int64_t carbonKeyCode);
// The key code of a keysym; upper-case letters give their key.
std::optional<std::int64_t> keyCode(std::uint32_t keysym);

bool isFunctionKey(std::int64_t carbonKeyCode);

// The modifier keys of this desktop, as bits of the key events' state (X11's and GTK's alike).
inline constexpr std::uint32_t shiftMask = 1u << 0;
inline constexpr std::uint32_t controlMask = 1u << 2;
inline constexpr std::uint32_t altMask = 1u << 3;
inline constexpr std::uint32_t superMask = 1u << 6;

std::uint32_t stateOf(std::int64_t carbonModifiers);
std::int64_t carbonModifiersOf(std::uint32_t state);

// How the combination reads here, its key names in the user's language: "Ctrl+Alt+S", "Super+Shift+F5".
std::string displayName(const Shortcut&);
// The same in GTK's accelerator syntax ("<Control><Alt>s"), as the window's keys are written.
std::string accelerator(const Shortcut&);

} // namespace KeyTable

} // namespace cohortex
