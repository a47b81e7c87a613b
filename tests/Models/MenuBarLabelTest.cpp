#include "Models/MenuBarLabel.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

// The icon's count and tooltip stop growing at "99+"; the launcher draws its own badge and gets the total.
TEST(MenuBarLabel, ShowsTheUnreadTotalEverywhere)
{
    struct Case {
        std::int64_t total;
        std::optional<std::string> countText;
        std::string toolTip;
        std::int64_t launcherCount;
    };
    for (const auto& expected : { Case{ 0, std::nullopt, "Nothing unread", 0 }, Case{ 1, "1", "1 unread", 1 },
             Case{ 99, "99", "99 unread", 99 }, Case{ 100, "99+", "99+ unread", 100 },
             Case{ -3, std::nullopt, "Nothing unread", 0 } }) {
        MenuBarLabel label{ expected.total };
        SCOPED_TRACE(expected.total);
        EXPECT_EQ(label.countText(), expected.countText);
        EXPECT_EQ(label.toolTipText(), expected.toolTip);
        EXPECT_EQ(label.needsAttention(), expected.launcherCount > 0);
        EXPECT_EQ(label.launcherCount(), expected.launcherCount);
        EXPECT_EQ(label.showsLauncherCount(), expected.launcherCount > 0);
    }
}

} // namespace
} // namespace cohortex
