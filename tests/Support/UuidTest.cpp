#include "Support/Uuid.h"

#include <gtest/gtest.h>
#include <set>
#include <unordered_set>

namespace cohortex {
namespace {

using namespace std::literals;

TEST(UuidTest, ParsesOnlyTheCanonicalFormInEitherCaseAndPrintsUpperCase)
{
    for (std::string_view text : { ""sv, "{6BA7B810-9DAD-11D1-80B4-00C04FD430C8}"sv,
             "6BA7B8109DAD11D180B400C04FD430C8"sv, "6BA7B81-09DAD-11D1-80B4-00C04FD430C8"sv,
             "6BA7B810-9DAD-11D1-80B4-00C04FD430CG"sv, "6BA7B810-9DAD-11D1-80B4-00C04FD430C\0"sv })
        EXPECT_FALSE(Uuid::parse(text)) << text;
    auto mixed = Uuid::parse("6Ba7B810-9dAD-11d1-80B4-00c04FD430c8");
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->string(), "6BA7B810-9DAD-11D1-80B4-00C04FD430C8");
    EXPECT_EQ(mixed->bytes()[0], 0x6B);
    EXPECT_EQ(Uuid::parse("00000000-0000-0000-0000-000000000000"), Uuid());
}

// Sorting by value must agree with sorting the canonical text, so stored lists keep a stable order.
TEST(UuidTest, RandomValuesAreVersionFourDifferAndOrderLikeTheirText)
{
    std::unordered_set<Uuid> seen;
    std::set<Uuid> values;
    std::set<std::string> texts;
    for (int round = 0; round < 200; ++round) {
        auto uuid = Uuid::random();
        EXPECT_EQ(uuid.bytes()[6] >> 4, 4);
        EXPECT_EQ(uuid.bytes()[8] >> 6, 0b10);
        EXPECT_TRUE(seen.insert(uuid).second);
        values.insert(uuid);
        texts.insert(uuid.string());
    }
    auto text = texts.begin();
    for (const auto& uuid : values)
        EXPECT_EQ(uuid.string(), *text++);
}

} // namespace
} // namespace cohortex
