#include "Camera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;
constexpr double step = 0.1;

// Into (-pi, pi]. Close to straight above one pixel of a drag turns the view by several whole
// turns, so one step of 2 pi is not always enough.
double wrapped(double azimuth) {
    const double a = std::remainder(azimuth, 2 * pi);
    return a <= -pi ? a + 2 * pi : a;
}

} // namespace

void Camera::raise() {
    cameraElevation += step;
    if (cameraElevation > pi / 2) {
        // Over the top: the camera comes down on the other side, facing the other way.
        cameraFlipped = !cameraFlipped;
        cameraElevation = pi - cameraElevation;
        cameraAzimuth += pi;
    }
}

void Camera::lower() {
    cameraElevation -= step;
    if (cameraElevation < 0) {
        cameraElevation = 0;
    }
}

bool Camera::keyPressed(Key key) {
    switch (key) {
    case Key::Up:
        cameraFlipped ? lower() : raise();
        return true;
    case Key::Down:
        cameraFlipped ? raise() : lower();
        return true;
    case Key::Right:
        cameraAzimuth += step;
        if (cameraAzimuth > pi) {
            cameraAzimuth -= 2 * pi;
        }
        return true;
    case Key::Left:
        cameraAzimuth -= step;
        if (cameraAzimuth < -pi) {
            cameraAzimuth += 2 * pi;
        }
        return true;
    default:
        return false;
    }
}

void Camera::wheelTurned(bool up, bool down) {
    if (up) {
        cameraDistance *= 0.9090909090909091;
    } else if (down) {
        cameraDistance *= 1.1;
    }
}

void Camera::drag(int dx, int dy, int windowHeight) {
    const double height = windowHeight;
    const double sign = cameraFlipped ? 1.0 : -1.0;
    const double elevation = cameraElevation - sign * dy * 2.0 / height;
    if (elevation > pi / 2) {
        cameraFlipped = !cameraFlipped;
        // A jump of more than pi / 2 past the top would end below the board.
        cameraElevation = std::max(pi - elevation, 0.0);
        cameraAzimuth += pi;
    } else if (elevation < 0) {
        cameraElevation = 0;
    } else {
        cameraElevation = elevation;
    }
    // Straight above the board a sideways drag would turn the view without limit; it turns
    // nothing there instead.
    const double across = std::cos(cameraElevation) * cameraDistance;
    if (across > 1e-9) {
        cameraAzimuth -= dx * 40.0 / across / height;
    }
    cameraAzimuth = wrapped(cameraAzimuth);
}

CameraView cameraView(const Camera& camera) {
    const double h = std::sin(camera.cameraElevation) * camera.cameraDistance;
    const double g = std::cos(camera.cameraElevation) * camera.cameraDistance;
    CameraView view;
    view.eye = {std::sin(camera.cameraAzimuth) * g, h, std::cos(camera.cameraAzimuth) * g};
    const double q = view.eye.x * view.eye.x + view.eye.z * view.eye.z;
    if (q == 0) {
        view.up = {0, 0, -1};
    } else {
        view.up = {-(h / q) * view.eye.x, 1, -(h / q) * view.eye.z};
    }
    return view;
}
