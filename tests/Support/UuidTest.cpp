#include "Support/Uuid.h"

#include <gtest/gtest.h>
#include <set>
#include <unordered_set>

namespace cohortex {
namespace {

using namespace std::literals;

TEST(UuidTest, ParseRejectsEveryNonCanonicalForm)
{
    // clang-format off
    for (std::string_view text : { ""sv, "{6BA7B810-9DAD-11D1-80B4-00C04FD430C8}"sv, " 6BA7B810-9DAD-11D1-80B4-00C04FD430C8"sv,
             "6BA7B8109DAD11D180B400C04FD430C8"sv, "6BA7B8109DAD11D180B400C04FD430C80000"sv,
             "6BA7B81-09DAD-11D1-80B4-00C04FD430C8"sv, "6BA7B810-9DAD-11D1-80B4-00C04FD430CG"sv,
             "urn:uuid:6ba7b810-9dad-11d1-80b4-00c04fd430c8"sv, "6BA7B810-9DAD-11D1-80B4-00C04FD430C"sv,
             "+BA7B810-9DAD-11D1-80B4-00C04FD430C8"sv, "6BA7B810-9DAD-11D1-80B4-00C04FD430C\0"sv })
        // clang-format on
        EXPECT_FALSE(Uuid::parse(text)) << text;
}

TEST(UuidTest, ParsesEitherCaseAndPrintsUpperCase)
{
    auto lower = Uuid::parse("6ba7b810-9dad-11d1-80b4-00c04fd430c8");
    auto mixed = Uuid::parse("6Ba7B810-9dAD-11d1-80B4-00c04FD430c8");
    ASSERT_TRUE(lower && mixed);
    EXPECT_EQ(*lower, *mixed);
    EXPECT_EQ(lower->string(), "6BA7B810-9DAD-11D1-80B4-00C04FD430C8");
    EXPECT_EQ(lower->bytes()[0], 0x6B);
    EXPECT_EQ(lower->bytes()[15], 0xC8);
    EXPECT_TRUE(Uuid().isNil());
    EXPECT_EQ(Uuid::parse("00000000-0000-0000-0000-000000000000"), Uuid());
    EXPECT_FALSE(Uuid::parse("00000000-0000-0000-0000-000000000001")->isNil());
}

TEST(UuidTest, RandomValuesAreVersionFourVariantTenAndDiffer)
{
    std::unordered_set<Uuid> seen;
    for (int round = 0; round < 1000; ++round) {
        auto uuid = Uuid::random();
        EXPECT_EQ(uuid.bytes()[6] >> 4, 4);
        EXPECT_EQ(uuid.bytes()[8] >> 6, 0b10);
        EXPECT_EQ(Uuid::parse(uuid.string()), uuid);
        EXPECT_TRUE(seen.insert(uuid).second);
    }
}

TEST(UuidTest, OrdersByBytesLikeTheText)
{
    // Sorting by value must agree with sorting the canonical text, so stored lists keep a stable order.
    std::set<Uuid> values;
    std::set<std::string> texts;
    for (int round = 0; round < 50; ++round) {
        auto uuid = Uuid::random();
        values.insert(uuid);
        texts.insert(uuid.string());
    }
    auto text = texts.begin();
    for (const auto& uuid : values)
        EXPECT_EQ(uuid.string(), *text++);
    EXPECT_LT(Uuid(), *values.begin());
}

} // namespace
} // namespace cohortex
