#include "KeyboardShortcuts/KeyTable.h"

#include "Support/Translation.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <utility>

namespace cohortex::KeyTable {

namespace {

struct Key {
    std::int64_t code;
    std::uint32_t keysym;
    // The name shown and written in accelerators; for characters their own upper-case form.
    std::string_view name;
    std::string_view acceleratorName;
};

constexpr std::array keys{
    Key{ 0, 'a', "A", "a" },
    Key{ 1, 's', "S", "s" },
    Key{ 2, 'd', "D", "d" },
    Key{ 3, 'f', "F", "f" },
    Key{ 4, 'h', "H", "h" },
    Key{ 5, 'g', "G", "g" },
    Key{ 6, 'z', "Z", "z" },
    Key{ 7, 'x', "X", "x" },
    Key{ 8, 'c', "C", "c" },
    Key{ 9, 'v', "V", "v" },
    Key{ 11, 'b', "B", "b" },
    Key{ 12, 'q', "Q", "q" },
    Key{ 13, 'w', "W", "w" },
    Key{ 14, 'e', "E", "e" },
    Key{ 15, 'r', "R", "r" },
    Key{ 16, 'y', "Y", "y" },
    Key{ 17, 't', "T", "t" },
    Key{ 18, '1', "1", "1" },
    Key{ 19, '2', "2", "2" },
    Key{ 20, '3', "3", "3" },
    Key{ 21, '4', "4", "4" },
    Key{ 22, '6', "6", "6" },
    Key{ 23, '5', "5", "5" },
    Key{ 24, '=', "=", "equal" },
    Key{ 25, '9', "9", "9" },
    Key{ 26, '7', "7", "7" },
    Key{ 27, '-', "-", "minus" },
    Key{ 28, '8', "8", "8" },
    Key{ 29, '0', "0", "0" },
    Key{ 30, ']', "]", "bracketright" },
    Key{ 31, 'o', "O", "o" },
    Key{ 32, 'u', "U", "u" },
    Key{ 33, '[', "[", "bracketleft" },
    Key{ 34, 'i', "I", "i" },
    Key{ 35, 'p', "P", "p" },
    Key{ 36, 0xff0d, "Return", "Return" },
    Key{ 37, 'l', "L", "l" },
    Key{ 38, 'j', "J", "j" },
    Key{ 39, '\'', "'", "apostrophe" },
    Key{ 40, 'k', "K", "k" },
    Key{ 41, ';', ";", "semicolon" },
    Key{ 42, '\\', "\\", "backslash" },
    Key{ 43, ',', ",", "comma" },
    Key{ 44, '/', "/", "slash" },
    Key{ 45, 'n', "N", "n" },
    Key{ 46, 'm', "M", "m" },
    Key{ 47, '.', ".", "period" },
    Key{ 48, 0xff09, "Tab", "Tab" },
    Key{ 49, ' ', "Space", "space" },
    Key{ 50, '`', "`", "grave" },
    Key{ 51, 0xff08, "Backspace", "BackSpace" },
    Key{ 53, 0xff1b, "Escape", "Escape" },
    Key{ 64, 0xffbe + 16, "F17", "F17" },
    Key{ 65, 0xffae, "Keypad .", "KP_Decimal" },
    Key{ 67, 0xffaa, "Keypad *", "KP_Multiply" },
    Key{ 69, 0xffab, "Keypad +", "KP_Add" },
    Key{ 71, 0xff0b, "Clear", "Clear" },
    Key{ 75, 0xffaf, "Keypad /", "KP_Divide" },
    Key{ 76, 0xff8d, "Keypad Enter", "KP_Enter" },
    Key{ 78, 0xffad, "Keypad -", "KP_Subtract" },
    Key{ 79, 0xffbe + 17, "F18", "F18" },
    Key{ 80, 0xffbe + 18, "F19", "F19" },
    Key{ 81, 0xffbd, "Keypad =", "KP_Equal" },
    Key{ 82, 0xffb0, "Keypad 0", "KP_0" },
    Key{ 83, 0xffb1, "Keypad 1", "KP_1" },
    Key{ 84, 0xffb2, "Keypad 2", "KP_2" },
    Key{ 85, 0xffb3, "Keypad 3", "KP_3" },
    Key{ 86, 0xffb4, "Keypad 4", "KP_4" },
    Key{ 87, 0xffb5, "Keypad 5", "KP_5" },
    Key{ 88, 0xffb6, "Keypad 6", "KP_6" },
    Key{ 89, 0xffb7, "Keypad 7", "KP_7" },
    Key{ 90, 0xffbe + 19, "F20", "F20" },
    Key{ 91, 0xffb8, "Keypad 8", "KP_8" },
    Key{ 92, 0xffb9, "Keypad 9", "KP_9" },
    Key{ 96, 0xffbe + 4, "F5", "F5" },
    Key{ 97, 0xffbe + 5, "F6", "F6" },
    Key{ 98, 0xffbe + 6, "F7", "F7" },
    Key{ 99, 0xffbe + 2, "F3", "F3" },
    Key{ 100, 0xffbe + 7, "F8", "F8" },
    Key{ 101, 0xffbe + 8, "F9", "F9" },
    Key{ 103, 0xffbe + 10, "F11", "F11" },
    Key{ 105, 0xffbe + 12, "F13", "F13" },
    Key{ 106, 0xffbe + 15, "F16", "F16" },
    Key{ 107, 0xffbe + 13, "F14", "F14" },
    Key{ 109, 0xffbe + 9, "F10", "F10" },
    Key{ 111, 0xffbe + 11, "F12", "F12" },
    Key{ 113, 0xffbe + 14, "F15", "F15" },
    Key{ 114, 0xff6a, "Help", "Help" },
    Key{ 115, 0xff50, "Home", "Home" },
    Key{ 116, 0xff55, "Page Up", "Page_Up" },
    Key{ 117, 0xffff, "Delete", "Delete" },
    Key{ 118, 0xffbe + 3, "F4", "F4" },
    Key{ 119, 0xff57, "End", "End" },
    Key{ 120, 0xffbe + 1, "F2", "F2" },
    Key{ 121, 0xff56, "Page Down", "Page_Down" },
    Key{ 122, 0xffbe, "F1", "F1" },
    Key{ 123, 0xff51, "Left", "Left" },
    Key{ 124, 0xff53, "Right", "Right" },
    Key{ 125, 0xff54, "Down", "Down" },
    Key{ 126, 0xff52, "Up", "Up" },
};

const Key* byCode(std::int64_t code)
{
    auto found = std::ranges::find(keys, code, &Key::code);
    return found == keys.end() ? nullptr : &*found;
}

// What the key's cap says, in the user's language: the keys named by a word are looked up (with a context,
// since "Delete" or "Home" on a key is not the action or the page), a character key shows its character.
std::string capLabel(std::string_view name)
{
    const std::array<std::pair<std::string_view, const char*>, 17> words{ {
        { "Return", C_("keyboard label", "Return") },
        { "Tab", C_("keyboard label", "Tab") },
        { "Space", C_("keyboard label", "Space") },
        { "Backspace", C_("keyboard label", "Backspace") },
        { "Escape", C_("keyboard label", "Escape") },
        { "Clear", C_("keyboard label", "Clear") },
        { "Keypad Enter", C_("keyboard label", "Keypad Enter") },
        { "Help", C_("keyboard label", "Help") },
        { "Home", C_("keyboard label", "Home") },
        { "Page Up", C_("keyboard label", "Page Up") },
        { "Delete", C_("keyboard label", "Delete") },
        { "End", C_("keyboard label", "End") },
        { "Page Down", C_("keyboard label", "Page Down") },
        { "Left", C_("keyboard label", "Left") },
        { "Right", C_("keyboard label", "Right") },
        { "Down", C_("keyboard label", "Down") },
        { "Up", C_("keyboard label", "Up") },
    } };
    for (auto [english, shown] : words) {
        if (name == english)
            return shown;
    }
    constexpr std::string_view keypad = "Keypad ";
    if (name.starts_with(keypad))
        // TRANSLATORS: a key of the numeric keypad; {} is the character on it ("Keypad 5", "Keypad +").
        return fillIn(C_("keyboard label", "Keypad {}"), name.substr(keypad.size()));
    return std::string(name);
}

} // namespace

std::optional<std::uint32_t> keysym(std::int64_t carbonKeyCode)
{
    const auto* key = byCode(carbonKeyCode);
    return key ? std::optional(key->keysym) : std::nullopt;
}

std::optional<std::int64_t> keyCode(std::uint32_t keysym)
{
    // An upper-case letter is the same key as its lower-case one.
    if (keysym >= 'A' && keysym <= 'Z')
        keysym += 'a' - 'A';
    auto found = std::ranges::find(keys, keysym, &Key::keysym);
    return found == keys.end() ? std::nullopt : std::optional(found->code);
}

bool isFunctionKey(std::int64_t carbonKeyCode)
{
    auto sym = keysym(carbonKeyCode);
    return sym && *sym >= 0xffbe && *sym <= 0xffbe + 19;
}

std::uint32_t stateOf(std::int64_t modifiers)
{
    std::uint32_t state = 0;
    if (modifiers & Shortcut::control)
        state |= controlMask;
    if (modifiers & Shortcut::option)
        state |= altMask;
    if (modifiers & Shortcut::shift)
        state |= shiftMask;
    if (modifiers & Shortcut::command)
        state |= superMask;
    return state;
}

std::int64_t carbonModifiersOf(std::uint32_t state)
{
    std::int64_t modifiers = 0;
    if (state & controlMask)
        modifiers |= Shortcut::control;
    if (state & altMask)
        modifiers |= Shortcut::option;
    if (state & shiftMask)
        modifiers |= Shortcut::shift;
    if (state & superMask)
        modifiers |= Shortcut::command;
    return modifiers;
}

std::string displayName(const Shortcut& shortcut)
{
    std::string text;
    for (auto [bit, name] : { std::pair{ Shortcut::control, C_("keyboard label", "Ctrl") },
             std::pair{ Shortcut::option, C_("keyboard label", "Alt") },
             std::pair{ Shortcut::shift, C_("keyboard label", "Shift") },
             std::pair{ Shortcut::command, C_("keyboard label", "Super") } }) {
        if (shortcut.carbonModifiers & bit) {
            text += name;
            text += '+';
        }
    }
    const auto* key = byCode(shortcut.carbonKeyCode);
    return text + (key ? capLabel(key->name) : "\uFFFD");
}

std::string accelerator(const Shortcut& shortcut)
{
    std::string text;
    for (auto [bit, name] :
        { std::pair{ Shortcut::control, "<Control>" }, std::pair{ Shortcut::option, "<Alt>" },
            std::pair{ Shortcut::shift, "<Shift>" }, std::pair{ Shortcut::command, "<Super>" } }) {
        if (shortcut.carbonModifiers & bit)
            text += name;
    }
    const auto* key = byCode(shortcut.carbonKeyCode);
    return key ? text + std::string(key->acceleratorName) : std::string();
}

} // namespace cohortex::KeyTable
