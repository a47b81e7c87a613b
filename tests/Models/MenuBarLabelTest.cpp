#include "Models/MenuBarLabel.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

struct LabelCase {
    const char* label;
    std::int64_t total;
    std::optional<std::string> countText;
    std::string toolTipText;
    bool needsAttention;
    std::int64_t launcherCount;
};

class MenuBarLabelTest : public ::testing::TestWithParam<LabelCase> { };

// The icon's count and tooltip stop growing at "99+"; the launcher draws its own badge and gets the total.
TEST_P(MenuBarLabelTest, ShowsTheUnreadTotalEverywhere)
{
    const auto& expected = GetParam();
    MenuBarLabel label{ expected.total };
    EXPECT_EQ(label.countText(), expected.countText);
    EXPECT_EQ(label.toolTipText(), expected.toolTipText);
    EXPECT_EQ(label.needsAttention(), expected.needsAttention);
    EXPECT_EQ(label.launcherCount(), expected.launcherCount);
    EXPECT_EQ(label.showsLauncherCount(), expected.launcherCount > 0);
}

INSTANTIATE_TEST_SUITE_P(Totals, MenuBarLabelTest,
    ::testing::Values(LabelCase{ "Nothing", 0, std::nullopt, "Nothing unread", false, 0 },
        LabelCase{ "One", 1, "1", "1 unread", true, 1 },
        LabelCase{ "NinetyNine", 99, "99", "99 unread", true, 99 },
        LabelCase{ "Hundred", 100, "99+", "99+ unread", true, 100 },
        LabelCase{ "HundredTwenty", 120, "99+", "99+ unread", true, 120 },
        LabelCase{ "Negative", -3, std::nullopt, "Nothing unread", false, 0 }),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace cohortex
