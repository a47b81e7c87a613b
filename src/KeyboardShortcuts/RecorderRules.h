#pragma once

#include "KeyboardShortcuts/Shortcut.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

class CommandTable;

// What a key pressed while a shortcut is being recorded does.
struct RecorderDecision {
    enum class Outcome {
        // Tab: not recorded; the focus moves on as usual.
        PassOn,
        // Escape: recording ends, nothing changes.
        Cancel,
        // Backspace or Delete: the shortcut is cleared.
        Clear,
        // A key without a modifier (but Shift), other than a function key, or a key outside the table.
        Beep,
        // A key of the window's own commands; conflict names the command.
        UsedByCommand,
        // A combination the desktop keeps for itself.
        ReservedBySystem,
        Record,
    };

    Outcome outcome;
    std::optional<Shortcut> shortcut;
    std::string conflict;
};

// The window's keys as combinations, with the title of the command each runs.
struct CommandKey {
    Shortcut shortcut;
    std::string title;
};
std::vector<CommandKey> commandKeys(const CommandTable&);

// The combination an accelerator of GTK's syntax ("<Control><Shift>n", "<Control>comma") stands for.
std::optional<Shortcut> parseAccelerator(std::string_view);

// keysym and state as the key event gives them (X11's and GTK's alike).
RecorderDecision decideRecording(std::uint32_t keysym, std::uint32_t state,
    const std::vector<CommandKey>& commands, const std::set<Shortcut>& reservedBySystem);

} // namespace cohortex
