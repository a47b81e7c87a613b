#include "Models/PanelPlacement.h"

#include <algorithm>

namespace cohortex {

namespace {

// Keeps [start, start + length) within [low, high) a margin away from both ends, favouring the low end when
// it cannot fit.
int clampSpan(int start, int length, int low, int high)
{
    int last = high - PanelPlacement::margin - length;
    int first = low + PanelPlacement::margin;
    return std::max(first, std::min(start, last));
}

} // namespace

ScreenPoint PanelPlacement::anchor(ScreenPoint click, std::optional<ScreenPoint> pointer)
{
    if (click == ScreenPoint{} && pointer)
        return *pointer;
    return click;
}

ScreenPoint PanelPlacement::origin(
    ScreenPoint anchor, int panelWidth, int panelHeight, const ScreenRect& monitor)
{
    int x = clampSpan(anchor.x - panelWidth / 2, panelWidth, monitor.x, monitor.x + monitor.width);
    bool isInLowerHalf = anchor.y > monitor.y + monitor.height / 2;
    int y = isInLowerHalf ? anchor.y - margin - panelHeight : anchor.y + margin;
    y = clampSpan(y, panelHeight, monitor.y, monitor.y + monitor.height);
    return { x, y };
}

} // namespace cohortex
