#include "BoardPicking.h"

#include <cmath>
#include <numbers>

namespace {

Vector3 plus(Vector3 a, Vector3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

Vector3 times(Vector3 v, double k) {
    return {v.x * k, v.y * k, v.z * k};
}

Vector3 cross(Vector3 a, Vector3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vector3 normalised(Vector3 v) {
    return times(v, 1.0 / std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z));
}

} // namespace

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

std::optional<Square> squareUnderMouse(const Camera& camera, double mouseX, double mouseY,
                                       const WindowView& window) {
    // What unprojecting the mouse at depths 0 and 1 gives: the points of the near and far
    // planes on the ray from the eye through the mouse, in the camera's own axes first.
    const CameraView view = cameraView(camera);
    const Vector3 forward = normalised(times(view.eye, -1.0));
    const Vector3 side = normalised(cross(forward, view.up));
    const Vector3 up = cross(side, forward);
    const double ndcX = 2.0 * mouseX / window.width - 1.0;
    const double ndcY = 2.0 * (window.height - mouseY) / window.height - 1.0;
    const ScenePerspective perspective = scenePerspective(window.width, window.height);
    const double spread = std::tan(perspective.fieldOfViewY * std::numbers::pi / 360.0);
    const Vector3 direction = plus(
        forward, plus(times(side, ndcX * spread * perspective.aspect), times(up, ndcY * spread)));
    // The frame moves the board by (-9, 0, 9) after placing the camera.
    const Vector3 eye = plus(view.eye, {9.0, 0.0, -9.0});
    return squareUnderRay(plus(eye, times(direction, perspective.nearPlane)),
                          plus(eye, times(direction, perspective.farPlane)));
}
