#include "Support/Text.h"

#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

// ASCII text takes a shortcut around ICU; a non-ASCII letter appended forces the ICU path, and both
// must agree on every ASCII character, control characters and the neighbours of A and Z included.
TEST(TextTest, AsciiShortcutLowerCasesExactlyAsIcuDoes)
{
    for (int c = 0; c < 0x80; ++c) {
        std::string ascii(1, static_cast<char>(c));
        EXPECT_EQ(toLowerCase(ascii + "\u00C9"), toLowerCase(ascii) + "\u00E9") << c;
    }
}

struct LowerCase {
    const char* name;
    std::string_view text;
    std::string_view expected;
};

class TextToLowerCase : public testing::TestWithParam<LowerCase> { };

TEST_P(TextToLowerCase, FollowsUnicodeRulesWithoutALocale)
{
    EXPECT_EQ(toLowerCase(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, TextToLowerCase,
    testing::Values(LowerCase{ "Ascii", "HTTPS://Example.COM/@[`{", "https://example.com/@[`{" },
        LowerCase{ "Empty", "", "" }, LowerCase{ "Umlaut", "ÄRZTE", "ärzte" },
        // Not Turkish rules, whatever the user's locale: I becomes i.
        LowerCase{ "DottedCapitalI", "I\u0130", "i\u0069\u0307" },
        LowerCase{ "FinalSigma", "ΟΔΟΣ ΟΔΟΣ", "οδος οδος" },
        LowerCase{ "InvalidBytesBecomeReplacementCharacters", "A\xFF", "a\uFFFD" }),
    [](const auto& info) { return info.param.name; });

struct Utf8Case {
    const char* label;
    std::string text;
    bool isValid;
};

class IsValidUtf8Test : public testing::TestWithParam<Utf8Case> { };

TEST_P(IsValidUtf8Test, AcceptsOnlyWellFormedSequences)
{
    EXPECT_EQ(isValidUtf8(GetParam().text), GetParam().isValid);
}

INSTANTIATE_TEST_SUITE_P(Sequences, IsValidUtf8Test,
    testing::Values(Utf8Case{ "Empty", "", true }, Utf8Case{ "Ascii", "hunter2", true },
        Utf8Case{ "TwoThreeAndFourBytes", "Grüße € 🍪", true },
        Utf8Case{ "Nul", std::string("a\0b", 3), true }, Utf8Case{ "Latin1Byte", "caf\xe9", false },
        Utf8Case{ "LoneContinuation", "\x80", false }, Utf8Case{ "TruncatedAtEnd", "\xf0\x9f\x8d", false },
        Utf8Case{ "Overlong", "\xc0\xaf", false }, Utf8Case{ "Surrogate", "\xed\xa0\x80", false },
        Utf8Case{ "BeyondUnicode", "\xf4\x90\x80\x80", false }),
    [](const auto& info) { return std::string(info.param.label); });

struct Printed {
    const char* label;
    std::string text;
    std::string shown;
};

class TerminalSafeTest : public testing::TestWithParam<Printed> { };

TEST_P(TerminalSafeTest, EscapesWhatCouldDriveATerminal)
{
    EXPECT_EQ(terminalSafe(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Texts, TerminalSafeTest,
    testing::Values(Printed{ "PlainAndNonLatinKept", "Café 日本 \\ ok", "Café 日本 \\ ok" },
        Printed{ "TitleSequence", "\x1b]0;owned\x07", "\\x1B]0;owned\\x07" },
        Printed{ "LineBreakAndTab", "a\nb\tc\x7f", "a\\x0Ab\\x09c\\x7F" },
        Printed{ "C1Control", "a\u009bb", "a\\u009Bb" },
        Printed{ "BidiOverrideAndIsolate", "\u202egnp.exe\u2066", "\\u202Egnp.exe\\u2066" },
        Printed{ "Separators", "a\u2028b\u2029", "a\\u2028b\\u2029" },
        Printed{ "InvalidBytes", "a\xff\xc3", "a\\xFF\\xC3" }),
    [](const auto& info) { return info.param.label; });

} // namespace
} // namespace cohortex
