#pragma once

#include <optional>

namespace cohortex {

struct ScreenPoint {
    int x{ 0 };
    int y{ 0 };

    bool operator==(const ScreenPoint&) const = default;
};

struct ScreenRect {
    int x{ 0 };
    int y{ 0 };
    int width{ 0 };
    int height{ 0 };

    bool operator==(const ScreenRect&) const = default;
};

// Where the tray's panel opens: under the tray icon the user clicked, as a menu would, or above it when the
// panel is at the bottom of the screen; always whole on the monitor, a margin away from its edges.
struct PanelPlacement {
    // Panels that do not say where the click was send (0, 0); the pointer is then the better guess.
    static ScreenPoint anchor(ScreenPoint click, std::optional<ScreenPoint> pointer);
    static ScreenPoint origin(ScreenPoint anchor, int panelWidth, int panelHeight, const ScreenRect& monitor);

    static constexpr int margin = 8;
};

} // namespace cohortex
