#include "Models/PanelPlacement.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

constexpr int width = 300;
constexpr int height = 400;
constexpr ScreenRect screen{ 0, 0, 1920, 1080 };
constexpr ScreenRect rightMonitor{ 1920, 0, 1280, 1024 };

struct PlacementCase {
    const char* label;
    ScreenPoint click;
    std::optional<ScreenPoint> pointer;
    ScreenRect monitor;
    ScreenPoint origin;
};

class PanelPlacementTest : public ::testing::TestWithParam<PlacementCase> { };

TEST_P(PanelPlacementTest, OpensWholeOnScreenNextToTheIcon)
{
    const auto& expected = GetParam();
    auto anchor = PanelPlacement::anchor(expected.click, expected.pointer);
    auto origin = PanelPlacement::origin(anchor, width, height, expected.monitor);
    EXPECT_EQ(origin, expected.origin);
    EXPECT_GE(origin.x, expected.monitor.x);
    EXPECT_GE(origin.y, expected.monitor.y);
    EXPECT_LE(origin.x + width, expected.monitor.x + expected.monitor.width);
    EXPECT_LE(origin.y + height, expected.monitor.y + expected.monitor.height);
}

constexpr int gap = PanelPlacement::margin;

INSTANTIATE_TEST_SUITE_P(Clicks, PanelPlacementTest,
    ::testing::Values(
        // A top bar: centred under the click.
        PlacementCase{ "TopBarMiddle", { 1000, 12 }, std::nullopt, screen, { 850, 12 + gap } },
        // The icon at the far right of a top bar: pushed left until it fits.
        PlacementCase{
            "TopBarRightEnd", { 1910, 12 }, std::nullopt, screen, { 1920 - gap - width, 12 + gap } },
        PlacementCase{ "TopBarLeftEnd", { 5, 12 }, std::nullopt, screen, { gap, 12 + gap } },
        // A bottom panel: above the click.
        PlacementCase{ "BottomPanel", { 1000, 1070 }, std::nullopt, screen, { 850, 1070 - gap - height } },
        // No point given: where the pointer is.
        PlacementCase{ "PointerWhenNoPoint", { 0, 0 }, ScreenPoint{ 600, 20 }, screen, { 450, 20 + gap } },
        // No point and no pointer (Wayland): the top left corner.
        PlacementCase{ "CornerWithoutPointer", { 0, 0 }, std::nullopt, screen, { gap, gap } },
        // A second monitor to the right keeps the panel on its own screen.
        PlacementCase{ "SecondMonitorEdge", { 3190, 10 }, std::nullopt, rightMonitor,
            { 1920 + 1280 - gap - width, 10 + gap } }),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace cohortex
