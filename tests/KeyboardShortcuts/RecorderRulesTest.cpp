#include "KeyboardShortcuts/RecorderRules.h"

#include "KeyboardShortcuts/KeyTable.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

using Outcome = RecorderDecision::Outcome;
constexpr std::uint32_t ctrl = KeyTable::controlMask;
constexpr std::uint32_t alt = KeyTable::altMask;
constexpr std::uint32_t shift = KeyTable::shiftMask;
constexpr std::uint32_t numLock = 1u << 4;

TEST(RecorderRulesTest, DecidesWhatAKeyDoesWhileRecording)
{
    std::vector<CommandKey> commands{ { *parseAccelerator("<Control>t"), "New Tab" },
        { *parseAccelerator("<Control><Shift>n"), "New Workspace" } };
    std::set<Shortcut> reserved{ { 21, Shortcut::control | Shortcut::option } };
    struct Case {
        const char* name;
        std::uint32_t keysym, state;
        Outcome outcome;
        std::string conflict{};
    };
    // clang-format off
    for (const auto& c : { Case{ "Tab moves on", 0xff09, 0, Outcome::PassOn }, Case{ "Escape cancels", 0xff1b, 0, Outcome::Cancel },
             Case{ "Backspace clears", 0xff08, 0, Outcome::Clear }, Case{ "Delete with NumLock clears", 0xffff, numLock, Outcome::Clear },
             Case{ "Shift+A is rejected", 'A', shift, Outcome::Beep }, Case{ "plain K is rejected", 'k', 0, Outcome::Beep },
             Case{ "F5 alone is recorded", 0xffc2, 0, Outcome::Record }, Case{ "Ctrl+Alt+S is recorded", 's', ctrl | alt, Outcome::Record },
             Case{ "a window key names its command", 't', ctrl, Outcome::UsedByCommand, "New Tab" },
             Case{ "shifted letter of a window key", 'N', ctrl | shift, Outcome::UsedByCommand, "New Workspace" },
             Case{ "the desktop's own is refused", '4', ctrl | alt, Outcome::ReservedBySystem },
             Case{ "a key outside the table", 0x1008ff13, ctrl, Outcome::Beep } }) {
        // clang-format on
        SCOPED_TRACE(c.name);
        auto decision = decideRecording(c.keysym, c.state, commands, reserved);
        EXPECT_EQ(decision.outcome, c.outcome);
        EXPECT_EQ(decision.conflict, c.conflict);
        EXPECT_EQ(decision.shortcut.has_value(), c.outcome == Outcome::Record);
    }
}

TEST(KeyTableTest, ReadsAsThisDesktopWritesItAndParsesBack)
{
    // clang-format off
    for (auto [shortcut, display, accelerator] : { std::tuple<Shortcut, const char*, const char*>{
             { 1, Shortcut::control | Shortcut::option }, "Ctrl+Alt+S", "<Control><Alt>s" },
             { { 40, Shortcut::option | Shortcut::command }, "Alt+Super+K", "<Alt><Super>k" },
             { { 96, Shortcut::shift }, "Shift+F5", "<Shift>F5" }, { { 43, Shortcut::control }, "Ctrl+,", "<Control>comma" } }) {
        // clang-format on
        EXPECT_EQ(KeyTable::displayName(shortcut), display);
        EXPECT_EQ(KeyTable::accelerator(shortcut), accelerator);
        EXPECT_EQ(parseAccelerator(accelerator), shortcut);
        EXPECT_EQ(Shortcut::decode(shortcut.encoded()), shortcut);
    }
}

} // namespace
} // namespace cohortex
