#include "Models/ZoomSteps.h"

#include <array>

namespace cohortex::ZoomSteps {

namespace {

constexpr std::array steps{ 0.3, 0.5, 0.67, 0.8, 0.9, 1.0, 1.1, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0 };
// Levels this close count as the same step, so that 1.1 stored as 1.1000000001 still steps to 1.25.
constexpr double tolerance = 0.001;

} // namespace

double next(double current, int direction)
{
    if (direction > 0) {
        for (double step : steps) {
            if (step > current + tolerance)
                return step;
        }
        return current < largest ? largest : current;
    }
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        if (*step < current - tolerance)
            return *step;
    }
    return current > smallest ? smallest : current;
}

} // namespace cohortex::ZoomSteps
