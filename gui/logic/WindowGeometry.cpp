#include "WindowGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double referenceAspect = 4.0 / 3.0;
constexpr double referenceFieldOfViewY = 60.0;

} // namespace

WindowSize allowedWindowSize(int width, int height) {
    return {std::max(width, minimumWindowWidth), std::max(height, minimumWindowHeight)};
}

ScenePerspective scenePerspective(int width, int height) {
    ScenePerspective perspective;
    perspective.aspect = static_cast<double>(width) / std::max(height, 1);
    if (perspective.aspect < referenceAspect) {
        constexpr double toRadians = std::numbers::pi / 180.0;
        const double halfWidth = std::tan(referenceFieldOfViewY / 2 * toRadians) * referenceAspect;
        perspective.fieldOfViewY = 2.0 * std::atan(halfWidth / perspective.aspect) / toRadians;
    }
    return perspective;
}

WindowCorner keptOnScreen(WindowCorner corner, float width, float height, float displayWidth,
                          float displayHeight) {
    corner.x = std::max(0.0f, std::min(corner.x, displayWidth - width));
    corner.y = std::max(0.0f, std::min(corner.y, displayHeight - height));
    return corner;
}
