#include "Support/Text.h"

#include <gtest/gtest.h>
#include <string>

namespace cohortex {
namespace {

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

} // namespace
} // namespace cohortex
