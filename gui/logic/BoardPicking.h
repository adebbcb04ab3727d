#pragma once

#include "Camera.h"
#include "WindowGeometry.h"

#include <optional>

struct Square {
    int file = 0; // 1..8, a to h
    int rank = 0; // 1..8
    bool operator==(const Square&) const = default;
};

// The square where the mouse ray from nearPoint through farPoint (board coordinates: square
// (f, r) centred at x = 2f, z = -2r on the plane y = 0) meets the board; nothing when it misses
// the board or runs parallel to it.
std::optional<Square> squareUnderRay(const Vector3& nearPoint, const Vector3& farPoint);

// The window as the frame fills it: the viewport and the perspective follow its size.
using WindowView = WindowSize;

// The square under the mouse (window pixels, y downward) as the frame draws the board: the same
// perspective and camera, worked out without OpenGL so that any thread can ask.
std::optional<Square> squareUnderMouse(const Camera& camera, double mouseX, double mouseY,
                                       const WindowView& window);
