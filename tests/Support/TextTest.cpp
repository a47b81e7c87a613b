#include "Support/Text.h"

#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

using namespace std::literals;

// ASCII text takes a shortcut around ICU; a non-ASCII letter appended forces the ICU path, and both
// must agree on every ASCII character, control characters and the neighbours of A and Z included.
TEST(TextTest, LowerCaseFollowsUnicodeRulesWithoutALocaleOnBothPaths)
{
    for (int c = 0; c < 0x80; ++c) {
        std::string ascii(1, static_cast<char>(c));
        EXPECT_EQ(toLowerCase(ascii + "\u00C9"), toLowerCase(ascii) + "\u00E9") << c;
    }
    // clang-format off
    for (auto [text, lower] : std::initializer_list<std::pair<std::string_view, std::string_view>>{
             { "HTTPS://Example.COM/@[`{", "https://example.com/@[`{" }, { "", "" }, { "ÄRZTE", "ärzte" },
             { "I\u0130", "i\u0069\u0307" }, // not Turkish rules, whatever the user's locale
             { "ΟΔΟΣ ΟΔΟΣ", "οδος οδος" }, { "A\xFF", "a\uFFFD" } })
        // clang-format on
        EXPECT_EQ(toLowerCase(text), lower) << text;
}

TEST(TextTest, IsValidUtf8AcceptsOnlyWellFormedSequences)
{
    for (std::string_view valid : { ""sv, "hunter2"sv, "Grüße € 🍪"sv, "a\0b"sv })
        EXPECT_TRUE(isValidUtf8(valid)) << valid;
    for (std::string_view invalid :
        { "caf\xe9"sv, "\x80"sv, "\xf0\x9f\x8d"sv, "\xc0\xaf"sv, "\xed\xa0\x80"sv, "\xf4\x90\x80\x80"sv })
        EXPECT_FALSE(isValidUtf8(invalid)) << invalid;
}

TEST(TextTest, TerminalSafeEscapesWhatCouldDriveATerminal)
{
    // clang-format off
    for (auto [text, shown] : std::initializer_list<std::pair<std::string_view, std::string_view>>{
             { "Café 日本 \\ ok", "Café 日本 \\ ok" }, { "\x1b]0;owned\x07", "\\x1B]0;owned\\x07" },
             { "a\nb\tc\x7f", "a\\x0Ab\\x09c\\x7F" }, { "a\u009bb", "a\\u009Bb" },
             { "\u202egnp.exe\u2066", "\\u202Egnp.exe\\u2066" }, { "a\u2028b\u2029", "a\\u2028b\\u2029" },
             { "a\xff\xc3", "a\\xFF\\xC3" } })
        // clang-format on
        EXPECT_EQ(terminalSafe(text), shown);
}

} // namespace
} // namespace cohortex
