#include "KeyboardShortcuts/KeyTable.h"
#include "KeyboardShortcuts/RecorderRules.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

using Outcome = RecorderDecision::Outcome;
constexpr std::uint32_t ctrl = KeyTable::controlMask;
constexpr std::uint32_t alt = KeyTable::altMask;
constexpr std::uint32_t shift = KeyTable::shiftMask;
constexpr std::uint32_t numLock = 1u << 4;

struct Pressed {
    const char* name;
    std::uint32_t keysym;
    std::uint32_t state;
    Outcome outcome;
    std::string conflict{};
};

class RecorderRulesTest : public ::testing::TestWithParam<Pressed> { };

TEST_P(RecorderRulesTest, DecidesWhatAKeyDoesWhileRecording)
{
    std::vector<CommandKey> commands{ { *parseAccelerator("<Control>t"), "New Tab" },
        { *parseAccelerator("<Control><Shift>n"), "New Workspace" } };
    std::set<Shortcut> reserved{ { 21, Shortcut::control | Shortcut::option } };
    auto decision = decideRecording(GetParam().keysym, GetParam().state, commands, reserved);
    EXPECT_EQ(decision.outcome, GetParam().outcome);
    EXPECT_EQ(decision.conflict, GetParam().conflict);
    EXPECT_EQ(decision.shortcut.has_value(), GetParam().outcome == Outcome::Record);
}

INSTANTIATE_TEST_SUITE_P(Keys, RecorderRulesTest,
    ::testing::Values(Pressed{ "TabMovesOn", 0xff09, 0, Outcome::PassOn },
        Pressed{ "EscapeCancels", 0xff1b, 0, Outcome::Cancel },
        Pressed{ "BackspaceClears", 0xff08, 0, Outcome::Clear },
        Pressed{ "DeleteWithNumLockClears", 0xffff, numLock, Outcome::Clear },
        Pressed{ "ShiftAIsRejected", 'A', shift, Outcome::Beep }, Pressed{ "PlainKIsRejected", 'k', 0, Outcome::Beep },
        Pressed{ "F5AloneIsRecorded", 0xffc2, 0, Outcome::Record },
        Pressed{ "CtrlAltSIsRecorded", 's', ctrl | alt, Outcome::Record },
        Pressed{ "AWindowKeyNamesItsCommand", 't', ctrl, Outcome::UsedByCommand, "New Tab" },
        Pressed{ "ShiftedLetterOfAWindowKey", 'N', ctrl | shift, Outcome::UsedByCommand, "New Workspace" },
        Pressed{ "TheDesktopsOwnIsRefused", '4', ctrl | alt, Outcome::ReservedBySystem },
        Pressed{ "AKeyOutsideTheTable", 0x1008ff13, ctrl, Outcome::Beep }),
    [](const auto& info) { return std::string(info.param.name); });

struct Written {
    Shortcut shortcut;
    std::string display;
    std::string accelerator;
};

class KeyTableTest : public ::testing::TestWithParam<Written> { };

TEST_P(KeyTableTest, ReadsAsThisDesktopWritesItAndParsesBack)
{
    EXPECT_EQ(KeyTable::displayName(GetParam().shortcut), GetParam().display);
    EXPECT_EQ(KeyTable::accelerator(GetParam().shortcut), GetParam().accelerator);
    EXPECT_EQ(parseAccelerator(GetParam().accelerator), GetParam().shortcut);
    EXPECT_EQ(Shortcut::decode(GetParam().shortcut.encoded()), GetParam().shortcut);
}

INSTANTIATE_TEST_SUITE_P(Combinations, KeyTableTest,
    ::testing::Values(Written{ { 1, Shortcut::control | Shortcut::option }, "Ctrl+Alt+S", "<Control><Alt>s" },
        Written{ { 40, Shortcut::option | Shortcut::command }, "Alt+Super+K", "<Alt><Super>k" },
        Written{ { 25, Shortcut::control | Shortcut::option }, "Ctrl+Alt+9", "<Control><Alt>9" },
        Written{ { 96, Shortcut::shift }, "Shift+F5", "<Shift>F5" },
        Written{ { 43, Shortcut::control }, "Ctrl+,", "<Control>comma" }));

} // namespace
} // namespace cohortex
