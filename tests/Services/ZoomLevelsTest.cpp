#include "Services/ZoomLevels.h"

#include "Fakes/MemoryDefaults.h"
#include "Models/ZoomSteps.h"
#include "Services/StoredKeys.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

TEST(ZoomStepsTest, StepsFromAnyLevelAndStopsAtTheEnds)
{
    EXPECT_DOUBLE_EQ(ZoomSteps::next(1.0, -1), 0.9);
    // A level that is no step (a pinch) goes to the neighbouring step, not past it.
    EXPECT_DOUBLE_EQ(ZoomSteps::next(1.05, 1), 1.1);
    EXPECT_DOUBLE_EQ(ZoomSteps::next(1.05, -1), 1.0);
    EXPECT_DOUBLE_EQ(ZoomSteps::next(1.1000001, 1), 1.25);
    EXPECT_DOUBLE_EQ(ZoomSteps::next(3.0, 1), 3.0);
    EXPECT_DOUBLE_EQ(ZoomSteps::next(0.3, -1), 0.3);
}

TEST(ZoomLevelsTest, AChoiceHoldsForItsWorkspaceAndHostAcrossLaunches)
{
    MemoryDefaults defaults;
    auto work = Uuid::random(), home = Uuid::random();
    {
        ZoomLevels levels(defaults);
        ASSERT_TRUE(levels.setLevel(work, "mail.example.com", 1.25));
        ASSERT_TRUE(levels.setLevel(home, "docs.example.com", 0.8));
    }
    ZoomLevels levels(defaults);
    EXPECT_DOUBLE_EQ(levels.level(work, "mail.example.com"), 1.25);
    EXPECT_DOUBLE_EQ(levels.level(home, "mail.example.com"), 1.0);

    // Back at 100 % and with its workspace removed, nothing of either is kept.
    ASSERT_TRUE(levels.setLevel(work, "mail.example.com", 1.0));
    ASSERT_TRUE(levels.forget(home));
    auto stored = defaults.data(keys::zoomLevels).value_or(Bytes{});
    EXPECT_EQ(std::string(stored.begin(), stored.end()), R"({"version":1,"levels":[]})");
}

TEST(ZoomLevelsTest, ADamagedRecordMeansNoChoicesUntilTheNextOne)
{
    MemoryDefaults defaults;
    std::string damaged = R"({"version":1,"levels":[{"workspace":"nope"}]})";
    defaults.setData(
        keys::zoomLevels, std::span(reinterpret_cast<const std::uint8_t*>(damaged.data()), damaged.size()));
    ZoomLevels levels(defaults);
    auto work = Uuid::random();
    EXPECT_DOUBLE_EQ(levels.level(work, "mail.example.com"), 1.0);
    ASSERT_TRUE(levels.setLevel(work, "mail.example.com", 1.5));
    EXPECT_DOUBLE_EQ(ZoomLevels(defaults).level(work, "mail.example.com"), 1.5);
}

} // namespace
} // namespace cohortex
