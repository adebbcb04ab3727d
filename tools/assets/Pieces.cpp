#include "Pieces.h"

#include "Geometry.h"

#include <algorithm>
#include <cmath>

namespace {

// The foot shared by the turned pieces: a broad rounded plinth, a cove and a bead, scaled by the
// base radius. Leaves the outline at the top of the bead, ready for the stem.
void foot(Profile& p, float radius, const Detail& d) {
    const float s = radius;
    p.to(0, 0).to(s, 0).to(s, 0.07f * s);
    p.arc(0.86f * s, 0.19f * s, 0.14f * s, -30, 95, d.arcSteps(4));
    p.to(0.78f * s, 0.335f * s);
    p.arc(0.78f * s, 0.42f * s, 0.085f * s, 270, 180, d.arcSteps(3));
    p.arc(0.74f * s, 0.48f * s, 0.06f * s, -90, 90, d.arcSteps(4));
    p.to(0.62f * s, 0.545f * s);
}

// A washer-like collar: a broad bead over a thinner one, from height y on a stem of radius
// stem; returns the height of its top.
float collar(Profile& p, float stem, float y, float width, const Detail& d) {
    p.to(stem + 0.05f, y);
    p.arc(stem + width, y + 0.045f, 0.045f, -90, 90, d.arcSteps(4));
    p.to(stem + 0.05f, y + 0.1f);
    p.arc(stem + 0.6f * width, y + 0.128f, 0.028f, -90, 90, d.arcSteps(3));
    p.to(stem, y + 0.16f);
    return y + 0.16f;
}

} // namespace

LwoMesh pawnMesh(const Detail& d) {
    Profile p;
    foot(p, 0.58f, d);
    p.curve({{0.33f, 0.33f}, {0.26f, 0.47f}, {0.215f, 0.63f}, {0.2f, 0.74f}}, 2);
    const float top = collar(p, 0.17f, 0.75f, 0.17f, d);
    const float ball = 0.3f, centre = top + 0.27f;
    p.to(0.15f, top + 0.02f);
    p.arc(0, centre, ball, -62, 90, d.arcSteps(9));
    return lathe(p, d.turns);
}

LwoMesh rookMesh(const Detail& d) {
    Profile p;
    foot(p, 0.74f, d);
    p.curve({{0.5f, 0.41f}, {0.47f, 0.7f}, {0.45f, 1.05f}, {0.46f, 1.3f}}, 2);
    p.arc(0.52f, 1.32f, 0.06f, 210, 90, d.arcSteps(4));
    p.to(0.56f, 1.38f).to(0.56f, 1.44f).to(0.39f, 1.44f).to(0.39f, 1.66f).to(0, 1.66f);
    LwoMesh mesh = lathe(p, d.turns);

    // Six merlons around a sunken floor; the gaps between them stand a little above it.
    const int merlons = 6;
    const float merlon = 2 * pi / merlons * 0.58f;
    for (int m = 0; m < merlons; ++m) {
        const float a0 = 2 * pi * m / merlons + pi / merlons;
        mesh.append(ringSector(0.37f, 0.56f, 1.43f, 1.96f, a0, a0 + merlon, 5));
        mesh.append(ringSector(0.37f, 0.56f, 1.43f, 1.76f, a0 + merlon, a0 + 2 * pi / merlons, 4));
    }
    return mesh;
}

LwoMesh bishopMesh(const Detail& d) {
    Profile p;
    foot(p, 0.68f, d);
    p.curve({{0.42f, 0.38f}, {0.3f, 0.62f}, {0.225f, 0.98f}, {0.19f, 1.3f}, {0.185f, 1.4f}}, 2);
    const float top = collar(p, 0.16f, 1.4f, 0.2f, d);
    const size_t mitreStart = p.points.size();
    p.curve({{0.17f, top + 0.01f},
             {0.245f, top + 0.1f},
             {0.3f, top + 0.24f},
             {0.305f, top + 0.38f},
             {0.265f, top + 0.52f},
             {0.18f, top + 0.66f},
             {0.09f, top + 0.76f},
             {0.045f, top + 0.79f}},
            4);
    const size_t mitreEnd = p.points.size();
    const float finial = top + 0.86f;
    p.arc(0, finial, 0.07f, -50, 90, d.arcSteps(8));

    // The mitre's slit: a groove along a tilted plane, lowest at the front right and deepest
    // there, fading out towards the back. Every column of the turned mesh is resampled so that
    // one outline point lies on the groove's floor and its neighbours on the groove's edges;
    // the groove then runs straight instead of stepping from ring to ring.
    const std::vector<std::pair<float, float>> mitre(p.points.begin() + mitreStart,
                                                     p.points.begin() + mitreEnd);
    auto radiusAt = [mitre](float y) {
        if (y <= mitre.front().second) {
            return mitre.front().first;
        }
        for (size_t i = 1; i < mitre.size(); ++i) {
            if (y <= mitre[i].second) {
                const float t = (y - mitre[i - 1].second) / (mitre[i].second - mitre[i - 1].second);
                return mitre[i - 1].first + (mitre[i].first - mitre[i - 1].first) * t;
            }
        }
        return mitre.back().first;
    };
    const float slitHeight = top + 0.47f, slope = 0.75f, halfWidth = 0.024f, depth = 0.42f;
    size_t floorPoint = 1;
    for (size_t j = 1; j + 1 < mitre.size(); ++j) {
        if (std::fabs(mitre[j].second - slitHeight) <
            std::fabs(mitre[floorPoint].second - slitHeight)) {
            floorPoint = j;
        }
    }
    const float bottom = mitre.front().second, peak = mitre.back().second;
    const float middle = mitre[floorPoint].second;
    auto shaper = [=](size_t index, float angle, float r, float y) {
        if (index < mitreStart || index >= mitreEnd) {
            return Vec3{r * std::sin(angle), y, r * std::cos(angle)};
        }
        const float facing = std::cos(angle - pi / 4);
        float groove = slitHeight;
        for (int i = 0; i < 4; ++i) {
            groove = slitHeight - radiusAt(groove) * facing * slope;
        }
        const size_t j = index - mitreStart;
        float height;
        if (j < floorPoint) {
            height = bottom + (y - bottom) * (groove - halfWidth - bottom) / (middle - bottom);
        } else if (j > floorPoint) {
            height =
                groove + halfWidth + (y - middle) * (peak - groove - halfWidth) / (peak - middle);
        } else {
            height = groove;
        }
        const float cut = j == floorPoint ? depth * std::clamp(facing * 2.0f, 0.0f, 1.0f) : 0.0f;
        const float radius = radiusAt(height) * (1 - cut);
        return Vec3{radius * std::sin(angle), height, radius * std::cos(angle)};
    };
    return lathe(p, d.turns, shaper);
}

LwoMesh queenMesh(const Detail& d) {
    Profile p;
    foot(p, 0.74f, d);
    p.curve({{0.46f, 0.4f}, {0.33f, 0.68f}, {0.255f, 1.08f}, {0.22f, 1.45f}, {0.215f, 1.58f}}, 2);
    const float top = collar(p, 0.19f, 1.58f, 0.22f, d);
    p.curve({{0.2f, top + 0.01f}, {0.26f, top + 0.2f}, {0.35f, top + 0.45f}, {0.43f, top + 0.62f}},
            4);
    const float rim = top + 0.66f;
    p.arc(0.43f, rim, 0.04f, -90, 90, d.arcSteps(6));
    const size_t crownStart = p.points.size();
    p.to(0.42f, rim + 0.05f);
    p.to(0.47f, rim + 0.2f);
    p.to(0.43f, rim + 0.2f);
    const size_t crownEnd = p.points.size();
    p.to(0.37f, rim + 0.07f);
    p.curve(
        {{0.34f, rim + 0.07f}, {0.27f, rim + 0.15f}, {0.15f, rim + 0.22f}, {0.07f, rim + 0.25f}},
        4);
    const float ball = rim + 0.33f;
    p.arc(0, ball, 0.09f, -55, 90, d.arcSteps(8));

    // The coronet: the crown's upper edge rises to eight points.
    const int points = 8;
    auto peak = [&](float angle) {
        const float phase = std::fmod(angle * points / (2 * pi) + 0.5f, 1.0f);
        const float v = 1 - std::fabs(phase - 0.5f) * 2; // 1 at a point, 0 between two
        return std::pow(v, 1.6f);
    };
    auto shaper = [&](size_t index, float angle, float r, float y) {
        float lift = 0;
        if (index >= crownStart + 1 && index < crownEnd) {
            lift = -0.12f + 0.14f * peak(angle);
        }
        return Vec3{r * std::sin(angle), y + lift, r * std::cos(angle)};
    };
    LwoMesh mesh = lathe(p, d.turns, shaper);
    for (int i = 0; i < points; ++i) {
        const float angle = 2 * pi * i / points;
        mesh.append(
            sphere({0.47f * std::sin(angle), rim + 0.25f, 0.47f * std::cos(angle)}, 0.042f, 10));
    }
    return mesh;
}

LwoMesh kingMesh(const Detail& d) {
    Profile p;
    foot(p, 0.76f, d);
    p.curve({{0.47f, 0.41f}, {0.34f, 0.7f}, {0.27f, 1.12f}, {0.24f, 1.55f}, {0.235f, 1.72f}}, 2);
    const float top = collar(p, 0.21f, 1.72f, 0.23f, d);
    p.curve(
        {{0.22f, top + 0.01f}, {0.28f, top + 0.22f}, {0.37f, top + 0.46f}, {0.45f, top + 0.64f}},
        4);
    const float rim = top + 0.68f;
    p.arc(0.45f, rim, 0.04f, -90, 90, d.arcSteps(6));
    p.to(0.41f, rim + 0.045f);
    p.curve({{0.40f, rim + 0.05f}, {0.33f, rim + 0.13f}, {0.2f, rim + 0.18f}, {0.1f, rim + 0.2f}},
            3);
    p.to(0.09f, rim + 0.22f);
    p.arc(0.09f, rim + 0.26f, 0.04f, -90, 90, d.arcSteps(5));
    p.to(0, rim + 0.3f);
    LwoMesh mesh = lathe(p, d.turns);

    // A cross with flared arms, facing the viewer.
    const float base = rim + 0.27f, centre = base + 0.3f, half = 0.055f;
    const float arm = 0.2f, flare = 0.085f, depth = 0.055f;
    mesh.append(prism({{-half, centre - half},
                       {half, centre - half},
                       {half, centre + half},
                       {-half, centre + half}},
                      -depth, depth));
    auto armPiece = [&](float dx, float dy) {
        // A trapezoid from the centre square outwards, wider at its end.
        std::vector<std::pair<float, float>> outline;
        const float nx = -dy, ny = dx; // across the arm
        const float length = dy > 0 ? arm * 0.75f : (dy < 0 ? centre - base : arm);
        const std::pair<float, float> corners[4] = {
            {dx * half - nx * half, dy * half - ny * half},
            {dx * length - nx * flare, dy * length - ny * flare},
            {dx * length + nx * flare, dy * length + ny * flare},
            {dx * half + nx * half, dy * half + ny * half}};
        for (const auto& [x, y] : corners) {
            outline.emplace_back(x, centre + y);
        }
        mesh.append(prism(outline, -depth, depth));
    };
    armPiece(1, 0);
    armPiece(0, 1);
    armPiece(-1, 0);
    armPiece(0, -1);
    return mesh;
}

namespace {

// Signed distances (negative inside) of the shapes the knight's head is made of.
float length(Vec3 v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}
Vec3 sub(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

float ellipsoid(Vec3 p, Vec3 centre, Vec3 radii) {
    const Vec3 q = sub(p, centre);
    const float k0 = length({q.x / radii.x, q.y / radii.y, q.z / radii.z});
    const float k1 =
        length({q.x / (radii.x * radii.x), q.y / (radii.y * radii.y), q.z / (radii.z * radii.z)});
    return k1 > 0 ? k0 * (k0 - 1) / k1 : -std::min({radii.x, radii.y, radii.z});
}

// A cone with rounded ends from a (radius ra) to b (radius rb), squeezed across by widthScale.
float roundCone(Vec3 p, Vec3 a, Vec3 b, float ra, float rb, float widthScale = 1) {
    p.x /= widthScale;
    a.x /= widthScale;
    b.x /= widthScale;
    const Vec3 ba = sub(b, a), pa = sub(p, a);
    const float l2 = dot(ba, ba);
    const float rr = ra - rb, a2 = l2 - rr * rr, il2 = 1 / l2;
    const Vec3 x{pa.x * l2 - ba.x * dot(pa, ba), pa.y * l2 - ba.y * dot(pa, ba),
                 pa.z * l2 - ba.z * dot(pa, ba)};
    const float y = dot(pa, ba), z = y - l2;
    const float x2 = dot(x, x), y2 = y * y * l2, z2 = z * z * l2;
    const float k = (rr > 0 ? 1 : -1) * rr * rr * x2;
    float d;
    if ((z > 0 ? 1 : -1) * a2 * z2 > k) {
        d = std::sqrt(x2 + z2) * il2 - rb;
    } else if ((y > 0 ? 1 : -1) * a2 * y2 < k) {
        d = std::sqrt(x2 + y2) * il2 - ra;
    } else {
        d = (std::sqrt(x2 * a2 * il2) + y * rr) * il2 - ra;
    }
    return d * std::min(1.0f, widthScale);
}

float smoothUnion(float a, float b, float k) {
    const float h = std::clamp(0.5f + 0.5f * (b - a) / k, 0.0f, 1.0f);
    return b + (a - b) * h - k * h * (1 - h);
}

float smoothCut(float a, float b, float k) {
    return -smoothUnion(-a, b, k);
}

// The horse's head and neck, looking along +z, mirror-symmetric in x.
float knightHead(Vec3 p) {
    const Vec3 m{std::fabs(p.x), p.y, p.z}; // for the paired features
    // Neck rising from the base, leaning forward, with the chest in front.
    float d = roundCone(p, {0, 0.5f, -0.1f}, {0, 1.62f, 0.0f}, 0.40f, 0.25f, 0.7f);
    d = smoothUnion(d, ellipsoid(p, {0, 0.86f, 0.12f}, {0.28f, 0.3f, 0.27f}), 0.12f);
    // Skull and face: from the poll down and forward to the muzzle.
    d = smoothUnion(d, roundCone(p, {0, 1.83f, 0.02f}, {0, 1.42f, 0.57f}, 0.28f, 0.21f, 0.78f),
                    0.1f);
    // Cheeks (jowls) behind and below the eyes.
    d = smoothUnion(d, ellipsoid(p, {0, 1.52f, 0.1f}, {0.24f, 0.22f, 0.22f}), 0.08f);
    // Muzzle, as wide as the face above it.
    d = smoothUnion(d, ellipsoid(p, {0, 1.38f, 0.6f}, {0.17f, 0.19f, 0.17f}), 0.08f);
    // Ears: flat leaves pointing up and back.
    const float ear = roundCone({m.x, m.y, m.z * 1.5f}, {0.1f, 1.94f, 0.0f},
                                {0.095f, 2.3f, -0.08f * 1.5f}, 0.09f, 0.028f);
    d = smoothUnion(d, ear, 0.03f);
    // Mane: a ridge along the back of the neck, carved into locks.
    const Vec3 maneA{0, 0.6f, -0.42f}, maneB{0, 1.9f, -0.1f};
    const Vec3 axis = sub(maneB, maneA);
    const float along = std::clamp(dot(sub(p, maneA), axis) / dot(axis, axis), 0.0f, 1.0f);
    float mane = roundCone(p, maneA, maneB, 0.12f, 0.09f, 0.45f);
    mane += 0.01f * std::sin(along * 2 * pi * 8.0f);
    d = smoothUnion(d, mane, 0.05f);
    // Mouth: a slit across the front of the muzzle.
    d = smoothCut(d, ellipsoid(p, {0, 1.28f, 0.76f}, {0.24f, 0.025f, 0.16f}), 0.015f);
    // Nostrils and eyes.
    d = smoothCut(d, ellipsoid(m, {0.08f, 1.45f, 0.75f}, {0.04f, 0.04f, 0.035f}), 0.01f);
    d = smoothCut(d, ellipsoid(m, {0.215f, 1.74f, 0.26f}, {0.045f, 0.04f, 0.05f}), 0.01f);
    d = smoothUnion(d, ellipsoid(m, {0.19f, 1.74f, 0.265f}, {0.035f, 0.03f, 0.04f}), 0.005f);
    // Brow ridge over the eye.
    d = smoothUnion(d, ellipsoid(m, {0.18f, 1.8f, 0.22f}, {0.06f, 0.035f, 0.09f}), 0.03f);
    // Cut flat below, inside the base.
    return std::max(d, 0.42f - p.y);
}

} // namespace

LwoMesh knightMesh(const Detail& d) {
    Profile p;
    foot(p, 0.7f, d);
    p.to(0.43f, 0.40f).to(0.43f, 0.46f).to(0, 0.46f);
    LwoMesh mesh = lathe(p, d.turns);
    // The head's grid is the arcs' step: coarser with them.
    LwoMesh head = isoSurface(knightHead, {-0.4f, 0.38f, -0.62f}, {0.4f, 2.36f, 1.0f},
                              0.04f * static_cast<float>(d.arcDivisor));
    head.smoothingDegrees = 75.0f;
    mesh.append(head);
    return mesh;
}

LwoMesh boardMesh() {
    // From the underside of the inner edge outwards, down the side, across the plinth and back
    // in under the board, then up to the top of the frame and in to the playing surface.
    Profile p;
    p.to(8.0f, -0.95f).to(9.45f, -0.95f).to(9.45f, -0.8f).to(9.25f, -0.72f).to(9.25f, -0.3f);
    p.arc(9.05f, -0.3f, 0.2f, 0, 90, 5);
    p.to(8.3f, -0.1f);
    p.arc(8.3f, -0.04f, 0.06f, 270, 180, 3);
    p.to(8.24f, -0.03f).to(8.0f, -0.03f);
    LwoMesh mesh = squareSweep(p);
    const float inner = 8.0f;
    const auto top = mesh.addPoint({inner, -0.03f, inner});
    const auto right = mesh.addPoint({inner, -0.03f, -inner});
    const auto back = mesh.addPoint({-inner, -0.03f, -inner});
    const auto left = mesh.addPoint({-inner, -0.03f, inner});
    mesh.addQuad(top, right, back, left);
    const auto b0 = mesh.addPoint({inner, -0.95f, inner});
    const auto b1 = mesh.addPoint({inner, -0.95f, -inner});
    const auto b2 = mesh.addPoint({-inner, -0.95f, -inner});
    const auto b3 = mesh.addPoint({-inner, -0.95f, inner});
    mesh.addQuad(b3, b2, b1, b0);
    mesh.smoothingDegrees = 40.0f;
    return mesh;
}
