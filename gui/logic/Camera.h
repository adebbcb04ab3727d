#pragma once

#include "InputEvent.h"

// The camera circling the board centre, steered by the arrow keys, the wheel and mouse drags.
struct Camera {
    static constexpr double startElevation = 1.0471975511965976; // pi / 3

    double cameraAzimuth = 0.0;              // radians about the vertical axis, in (-pi, pi]
    double cameraElevation = startElevation; // radians above the board plane, in [0, pi/2]
    double cameraDistance = 20.0;            // from the board centre
    // Carried over the top by a key or a drag: up and down swap until the camera comes back over
    // the top, so that a key or a drag keeps moving it the same way on screen.
    bool cameraFlipped = false;

    void raise();
    void lower();
    // The arrow keys; every other key does nothing. True when the camera moved.
    bool keyPressed(Key key);
    // A key or the middle button let go. The camera keeps which side of the top it is on, so
    // that taps and short drags move it as holding the key or the button does.
    void released() {}
    void wheelTurned(bool up, bool down);
    // A drag by (dx, dy) pixels in a window of the given height.
    void drag(int dx, int dy, int windowHeight);
};

struct Vector3 {
    double x = 0, y = 0, z = 0;
};

// Where the camera is, looking at the origin, and which way is up on screen.
struct CameraView {
    Vector3 eye;
    Vector3 up;
};
CameraView cameraView(const Camera& camera);
