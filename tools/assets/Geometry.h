#pragma once

#include "Lwo.h"

#include <functional>
#include <numbers>
#include <utility>
#include <vector>

constexpr float pi = std::numbers::pi_v<float>;

// A half outline of a turned piece in the plane of radius r and height y, from the bottom
// centre outwards, up and back to the top centre.
class Profile {
public:
    std::vector<std::pair<float, float>> points; // (r, y)

    Profile& to(float r, float y);
    // Circular arc around (cr, cy), degrees measured from the +r direction towards +y.
    Profile& arc(float cr, float cy, float radius, float fromDegrees, float toDegrees,
                 int segments);
    // Smooth curve through the given points (the first one is joined to the outline).
    Profile& curve(const std::vector<std::pair<float, float>>& through, int segmentsPerSpan);
};

// Where a turned point (profile index, angle, r, y) really goes; the default puts it on the
// circle of radius r at height y, angle 0 towards +z and growing towards +x.
using LatheShaper = std::function<Vec3(size_t index, float angle, float r, float y)>;

LwoMesh lathe(const Profile& profile, int segments, const LatheShaper& shaper = {});

// A closed prism over a convex polygon of the x-y plane (counter-clockwise seen from +z),
// between z0 < z1.
LwoMesh prism(const std::vector<std::pair<float, float>>& outline, float z0, float z1);

// A closed solid of revolution around the axis through centre: a sphere.
LwoMesh sphere(Vec3 centre, float radius, int segments);

// A closed annular sector between two radii, two heights and two angles (radians).
LwoMesh ringSector(float innerRadius, float outerRadius, float y0, float y1, float angle0,
                   float angle1, int segments);

// A solid swept around a square: each profile point (offset, y) becomes the square outline of
// half side offset at height y. Open at the first and last points.
LwoMesh squareSweep(const Profile& profile);

// The surface where the field changes sign (negative inside), over a grid of cubic cells of
// side cell spanning the box lo..hi. The field must be positive on the box's border.
LwoMesh isoSurface(const std::function<float(Vec3)>& field, Vec3 lo, Vec3 hi, float cell);
