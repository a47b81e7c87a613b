#pragma once

namespace cohortex {

// The zoom levels a page steps through, as other browsers offer them: 30 % to 300 %.
namespace ZoomSteps {

inline constexpr double smallest = 0.3;
inline constexpr double largest = 3.0;

// The next level up (direction > 0) or down from the current one, which need not be a step itself (a
// level stored by an older version, or set by a pinch); the current one at either end.
double next(double current, int direction);

} // namespace ZoomSteps

} // namespace cohortex
