#include "BoardPicking.h"

#include <cmath>

std::optional<Square> squareUnderRay(const Vector3& nearPoint, const Vector3& farPoint) {
    const double dy = nearPoint.y - farPoint.y;
    if (dy == 0) {
        return std::nullopt;
    }
    const double t = nearPoint.y / dy;
    const double x = nearPoint.x - (nearPoint.x - farPoint.x) * t;
    const double z = nearPoint.z - (nearPoint.z - farPoint.z) * t;
    if (!std::isfinite(x) || !std::isfinite(z) || std::abs(x) > 1e6 || std::abs(z) > 1e6) {
        return std::nullopt;
    }
    // Integer division truncates toward zero, so the lines x = 2f + 1 and z = -2r + 1 belong to
    // the square on their left and in front of them respectively.
    const int file = (static_cast<int>(std::floor(x)) + 1) / 2;
    const int q = (static_cast<int>(std::ceil(z)) - 1) / 2;
    if (file < 1 || file > 8 || q < -8 || q > -1) {
        return std::nullopt;
    }
    return Square{file, -q};
}
