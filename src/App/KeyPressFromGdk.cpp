#include "App/KeyPressFromGdk.h"

#include <gdk/gdk.h>
#include <glib.h>

namespace cohortex {

namespace {

std::uint8_t modifiersFromGdk(Gdk::ModifierType state)
{
    auto has = [state](Gdk::ModifierType flag) { return (state & flag) == flag; };
    std::uint8_t modifiers = 0;
    if (has(Gdk::ModifierType::SHIFT_MASK))
        modifiers |= KeyPress::Shift;
    if (has(Gdk::ModifierType::CONTROL_MASK))
        modifiers |= KeyPress::Control;
    if (has(Gdk::ModifierType::ALT_MASK))
        modifiers |= KeyPress::Alt;
    if (has(Gdk::ModifierType::SUPER_MASK) || has(Gdk::ModifierType::HYPER_MASK)
        || has(Gdk::ModifierType::META_MASK))
        modifiers |= KeyPress::Super;
    if (has(Gdk::ModifierType::LOCK_MASK))
        modifiers |= KeyPress::CapsLock;
    return modifiers;
}

} // namespace

KeyPress keyPressFromGdk(unsigned keyval, Gdk::ModifierType state)
{
    KeyPress key;
    key.modifiers = modifiersFromGdk(state);
    // Shift and Caps Lock turn "t" into "T"; the shortcut is the key, whatever its case.
    auto character = gdk_keyval_to_unicode(gdk_keyval_to_lower(keyval));
    if (character != 0) {
        char utf8[6];
        auto length = g_unichar_to_utf8(character, utf8);
        key.text.assign(utf8, static_cast<std::size_t>(length));
    }
    return key;
}

} // namespace cohortex
