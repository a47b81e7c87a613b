#include "Models/PanelPlacement.h"

#include <gtest/gtest.h>

namespace cohortex {
namespace {

TEST(PanelPlacement, OpensWholeOnScreenNextToTheIcon)
{
    constexpr int width = 300, height = 400, gap = PanelPlacement::margin;
    constexpr ScreenRect screen{ 0, 0, 1920, 1080 }, rightMonitor{ 1920, 0, 1280, 1024 };
    struct Case {
        const char* label;
        ScreenPoint click;
        std::optional<ScreenPoint> pointer;
        ScreenRect monitor;
        ScreenPoint origin;
    };
    // clang-format off
    for (const auto& expected : {
             Case{ "top bar: centred under the click", { 1000, 12 }, std::nullopt, screen, { 850, 12 + gap } },
             Case{ "top bar right end: pushed left", { 1910, 12 }, std::nullopt, screen, { 1920 - gap - width, 12 + gap } },
             Case{ "top bar left end", { 5, 12 }, std::nullopt, screen, { gap, 12 + gap } },
             Case{ "bottom panel: above the click", { 1000, 1070 }, std::nullopt, screen, { 850, 1070 - gap - height } },
             Case{ "no point: at the pointer", { 0, 0 }, ScreenPoint{ 600, 20 }, screen, { 450, 20 + gap } },
             Case{ "no point nor pointer (Wayland): the corner", { 0, 0 }, std::nullopt, screen, { gap, gap } },
             Case{ "second monitor's edge", { 3190, 10 }, std::nullopt, rightMonitor, { 1920 + 1280 - gap - width, 10 + gap } } }) {
        // clang-format on
        SCOPED_TRACE(expected.label);
        auto origin = PanelPlacement::origin(
            PanelPlacement::anchor(expected.click, expected.pointer), width, height, expected.monitor);
        EXPECT_EQ(origin, expected.origin);
        EXPECT_GE(origin.x, expected.monitor.x);
        EXPECT_GE(origin.y, expected.monitor.y);
        EXPECT_LE(origin.x + width, expected.monitor.x + expected.monitor.width);
        EXPECT_LE(origin.y + height, expected.monitor.y + expected.monitor.height);
    }
}

} // namespace
} // namespace cohortex
