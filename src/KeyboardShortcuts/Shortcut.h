#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cohortex {

// One key combination, in the form the stored shortcuts keep: the key as a key code of the published
// virtual-key table (A is 0, S is 1, the digits 1 to 9 are 18, 19, 20, 21, 23, 22, 26, 28, 25) and the
// modifiers as bits (Command 256, Shift 512, Option 2048, Control 4096). On this desktop Control is
// Ctrl, Option is Alt and Command is Super. Stored values written elsewhere keep their meaning.
struct Shortcut {
    static constexpr std::int64_t command = 256;
    static constexpr std::int64_t shift = 512;
    static constexpr std::int64_t option = 2048;
    static constexpr std::int64_t control = 4096;
    static constexpr std::int64_t modifierMask = command | shift | option | control;

    std::int64_t carbonKeyCode{ 0 };
    std::int64_t carbonModifiers{ 0 };

    bool operator==(const Shortcut&) const = default;
    auto operator<=>(const Shortcut&) const = default;

    // Only the four modifiers are carried over; every other bit is dropped.
    static Shortcut of(std::int64_t keyCode, std::int64_t modifiers)
    {
        return { keyCode, modifiers & modifierMask };
    }

    // The stored form: a JSON object with the two integer members.
    std::string encoded() const;
    // Nothing for anything that is not such an object.
    static std::optional<Shortcut> decode(std::string_view);
};

} // namespace cohortex
