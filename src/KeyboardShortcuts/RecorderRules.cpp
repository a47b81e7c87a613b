#include "KeyboardShortcuts/RecorderRules.h"

#include "KeyboardShortcuts/KeyTable.h"
#include "Services/CommandTable.h"
#include "Support/Translation.h"

#include <algorithm>

namespace cohortex {

namespace {

constexpr std::uint32_t tabKey = 0xff09;
constexpr std::uint32_t escapeKey = 0xff1b;
constexpr std::uint32_t backspaceKey = 0xff08;
constexpr std::uint32_t deleteKey = 0xffff;
// A Tab pressed with Shift arrives as ISO_Left_Tab, and still only moves the focus.
constexpr std::uint32_t leftTabKey = 0xfe20;

} // namespace

std::optional<Shortcut> parseAccelerator(std::string_view text)
{
    std::int64_t modifiers = 0;
    while (text.starts_with('<')) {
        auto end = text.find('>');
        if (end == std::string_view::npos)
            return std::nullopt;
        auto name = text.substr(1, end - 1);
        if (name == "Control" || name == "Primary")
            modifiers |= Shortcut::control;
        else if (name == "Alt")
            modifiers |= Shortcut::option;
        else if (name == "Shift")
            modifiers |= Shortcut::shift;
        else if (name == "Super")
            modifiers |= Shortcut::command;
        else
            return std::nullopt;
        text.remove_prefix(end + 1);
    }
    // Characters typed with Shift are written as what they produce.
    if (text == "question")
        return Shortcut{ 44, modifiers | Shortcut::shift };
    for (std::int64_t code = 0; code < 128; ++code) {
        if (KeyTable::accelerator({ code, 0 }) == text)
            return Shortcut{ code, modifiers };
    }
    return std::nullopt;
}

std::vector<CommandKey> commandKeys(const CommandTable& commands)
{
    std::vector<CommandKey> keys;
    for (const auto& command : commands.commands()) {
        for (const auto& key : command->keys) {
            if (auto shortcut = parseAccelerator(key.accelerator))
                keys.push_back({ *shortcut, _(command->title) });
        }
    }
    return keys;
}

RecorderDecision decideRecording(std::uint32_t keysym, std::uint32_t state,
    const std::vector<CommandKey>& commands, const std::set<Shortcut>& reservedBySystem)
{
    using Outcome = RecorderDecision::Outcome;
    auto modifiers = KeyTable::carbonModifiersOf(state);
    // Shift+Tab moves the focus back, which is just as much the user's as Tab.
    if ((modifiers & ~Shortcut::shift) == 0 && (keysym == tabKey || keysym == leftTabKey))
        return { Outcome::PassOn, std::nullopt, {} };
    if (modifiers == 0 && keysym == escapeKey)
        return { Outcome::Cancel, std::nullopt, {} };
    if (modifiers == 0 && (keysym == backspaceKey || keysym == deleteKey))
        return { Outcome::Clear, std::nullopt, {} };
    auto code = KeyTable::keyCode(keysym);
    if (!code)
        return { Outcome::Beep, std::nullopt, {} };
    auto shortcut = Shortcut::of(*code, modifiers);
    if ((modifiers & ~Shortcut::shift) == 0 && !KeyTable::isFunctionKey(*code))
        return { Outcome::Beep, std::nullopt, {} };
    auto used = std::ranges::find(commands, shortcut, &CommandKey::shortcut);
    if (used != commands.end())
        return { Outcome::UsedByCommand, std::nullopt, used->title };
    if (reservedBySystem.contains(shortcut))
        return { Outcome::ReservedBySystem, std::nullopt, {} };
    return { Outcome::Record, shortcut, {} };
}

} // namespace cohortex
