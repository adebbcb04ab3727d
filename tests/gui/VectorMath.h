#pragma once

#include "Camera.h"

#include <numbers>

// Geometry that the camera and picking tests both check against.
inline constexpr double pi = std::numbers::pi;

inline double dot(Vector3 a, Vector3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
