#include "Geometry.h"

#include <array>
#include <cmath>
#include <unordered_map>

namespace {

Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator*(Vec3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}

} // namespace

Profile& Profile::to(float r, float y) {
    if (!points.empty() && points.back().first == r && points.back().second == y) {
        return *this;
    }
    points.emplace_back(r, y);
    return *this;
}

Profile& Profile::arc(float cr, float cy, float radius, float fromDegrees, float toDegrees,
                      int segments) {
    for (int i = 0; i <= segments; ++i) {
        const float a = (fromDegrees + (toDegrees - fromDegrees) * i / segments) * pi / 180.0f;
        // Points meant for the axis must land on it exactly, or the caps come out degenerate.
        const float r = cr + radius * std::cos(a);
        to(r < 1e-5f ? 0.0f : r, cy + radius * std::sin(a));
    }
    return *this;
}

Profile& Profile::curve(const std::vector<std::pair<float, float>>& through, int segmentsPerSpan) {
    // Catmull-Rom through the points, with the ends repeated.
    std::vector<std::pair<float, float>> p;
    p.push_back(through.front());
    p.insert(p.end(), through.begin(), through.end());
    p.push_back(through.back());
    for (size_t i = 1; i + 2 < p.size(); ++i) {
        for (int s = 0; s < segmentsPerSpan; ++s) {
            const float t = static_cast<float>(s) / segmentsPerSpan;
            auto blend = [&](float a, float b, float c, float d) {
                return 0.5f * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t * t +
                               (-a + 3 * b - 3 * c + d) * t * t * t);
            };
            to(blend(p[i - 1].first, p[i].first, p[i + 1].first, p[i + 2].first),
               blend(p[i - 1].second, p[i].second, p[i + 1].second, p[i + 2].second));
        }
    }
    to(through.back().first, through.back().second);
    return *this;
}

LwoMesh lathe(const Profile& profile, int segments, const LatheShaper& shaper) {
    LwoMesh mesh;
    // ring[i] holds the first point of profile point i: one point on the axis, else a circle.
    std::vector<uint32_t> ring;
    for (size_t i = 0; i < profile.points.size(); ++i) {
        const auto [r, y] = profile.points[i];
        ring.push_back(static_cast<uint32_t>(mesh.points.size()));
        const int count = r == 0.0f ? 1 : segments;
        for (int j = 0; j < count; ++j) {
            const float angle = 2 * pi * j / segments;
            mesh.addPoint(shaper ? shaper(i, angle, r, y)
                                 : Vec3{r * std::sin(angle), y, r * std::cos(angle)});
        }
    }
    for (size_t i = 0; i + 1 < profile.points.size(); ++i) {
        const bool lowOnAxis = profile.points[i].first == 0.0f;
        const bool highOnAxis = profile.points[i + 1].first == 0.0f;
        if (lowOnAxis && highOnAxis) {
            continue;
        }
        for (int j = 0; j < segments; ++j) {
            const int k = (j + 1) % segments;
            const uint32_t a = ring[i] + (lowOnAxis ? 0 : j), b = ring[i] + (lowOnAxis ? 0 : k);
            const uint32_t c = ring[i + 1] + (highOnAxis ? 0 : j),
                           d = ring[i + 1] + (highOnAxis ? 0 : k);
            if (lowOnAxis) {
                mesh.addTriangle(a, d, c);
            } else if (highOnAxis) {
                mesh.addTriangle(a, b, c);
            } else {
                mesh.addQuad(a, b, d, c);
            }
        }
    }
    return mesh;
}

LwoMesh prism(const std::vector<std::pair<float, float>>& outline, float z0, float z1) {
    LwoMesh mesh;
    const auto n = static_cast<uint32_t>(outline.size());
    for (const auto& [x, y] : outline) {
        mesh.addPoint({x, y, z0});
    }
    for (const auto& [x, y] : outline) {
        mesh.addPoint({x, y, z1});
    }
    std::vector<uint32_t> front, back;
    for (uint32_t i = 0; i < n; ++i) {
        front.push_back(n + i);
        back.push_back(n - 1 - i);
        const uint32_t next = (i + 1) % n;
        mesh.addQuad(i, next, n + next, n + i);
    }
    mesh.polygons.push_back(front);
    mesh.polygons.push_back(back);
    return mesh;
}

LwoMesh sphere(Vec3 centre, float radius, int segments) {
    Profile profile;
    profile.arc(0, 0, radius, -90, 90, segments / 2);
    LwoMesh mesh = lathe(profile, segments);
    for (Vec3& p : mesh.points) {
        p = p + centre;
    }
    return mesh;
}

LwoMesh ringSector(float innerRadius, float outerRadius, float y0, float y1, float angle0,
                   float angle1, int segments) {
    LwoMesh mesh;
    // Corners per step: outer bottom, outer top, inner top, inner bottom.
    for (int s = 0; s <= segments; ++s) {
        const float a = angle0 + (angle1 - angle0) * s / segments;
        const float sx = std::sin(a), cz = std::cos(a);
        mesh.addPoint({outerRadius * sx, y0, outerRadius * cz});
        mesh.addPoint({outerRadius * sx, y1, outerRadius * cz});
        mesh.addPoint({innerRadius * sx, y1, innerRadius * cz});
        mesh.addPoint({innerRadius * sx, y0, innerRadius * cz});
    }
    for (uint32_t s = 0; s < static_cast<uint32_t>(segments); ++s) {
        const uint32_t a = 4 * s, b = 4 * (s + 1);
        for (uint32_t side = 0; side < 4; ++side) {
            const uint32_t next = (side + 1) % 4;
            mesh.addQuad(a + side, b + side, b + next, a + next);
        }
    }
    const uint32_t last = 4 * static_cast<uint32_t>(segments);
    mesh.addQuad(0, 1, 2, 3);
    mesh.addQuad(last + 3, last + 2, last + 1, last);
    return mesh;
}

LwoMesh squareSweep(const Profile& profile) {
    LwoMesh mesh;
    // Corners counter-clockwise seen from above: (+,+), (+,-), (-,-), (-,+) in (x, z).
    const float sx[4] = {1, 1, -1, -1}, sz[4] = {1, -1, -1, 1};
    for (const auto& [o, y] : profile.points) {
        for (int c = 0; c < 4; ++c) {
            mesh.addPoint({sx[c] * o, y, sz[c] * o});
        }
    }
    for (uint32_t i = 0; i + 1 < profile.points.size(); ++i) {
        for (uint32_t c = 0; c < 4; ++c) {
            const uint32_t next = (c + 1) % 4;
            mesh.addQuad(4 * i + c, 4 * i + next, 4 * (i + 1) + next, 4 * (i + 1) + c);
        }
    }
    return mesh;
}

LwoMesh isoSurface(const std::function<float(Vec3)>& field, Vec3 lo, Vec3 hi, float cell) {
    const int n[3] = {static_cast<int>(std::ceil((hi.x - lo.x) / cell)) + 1,
                      static_cast<int>(std::ceil((hi.y - lo.y) / cell)) + 1,
                      static_cast<int>(std::ceil((hi.z - lo.z) / cell)) + 1};
    auto at = [&](int i, int j, int k) { return lo + Vec3{i * cell, j * cell, k * cell}; };
    auto key = [&](int i, int j, int k) { return (static_cast<size_t>(k) * n[1] + j) * n[0] + i; };
    std::vector<float> value(static_cast<size_t>(n[0]) * n[1] * n[2]);
    for (int k = 0; k < n[2]; ++k) {
        for (int j = 0; j < n[1]; ++j) {
            for (int i = 0; i < n[0]; ++i) {
                value[key(i, j, k)] = field(at(i, j, k));
            }
        }
    }

    // One point per cell that the surface crosses: the mean of the crossings of its edges,
    // then pulled onto the surface along the field's gradient.
    LwoMesh mesh;
    std::unordered_map<size_t, uint32_t> cellPoint;
    static const int corner[8][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0},
                                     {0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}};
    static const int edge[12][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3},
                                    {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    for (int k = 0; k + 1 < n[2]; ++k) {
        for (int j = 0; j + 1 < n[1]; ++j) {
            for (int i = 0; i + 1 < n[0]; ++i) {
                float v[8];
                int inside = 0;
                for (int c = 0; c < 8; ++c) {
                    v[c] = value[key(i + corner[c][0], j + corner[c][1], k + corner[c][2])];
                    inside += v[c] < 0;
                }
                if (inside == 0 || inside == 8) {
                    continue;
                }
                Vec3 sum{};
                int crossings = 0;
                for (const auto& e : edge) {
                    const float a = v[e[0]], b = v[e[1]];
                    if ((a < 0) == (b < 0)) {
                        continue;
                    }
                    const float t = a / (a - b);
                    const Vec3 pa =
                        at(i + corner[e[0]][0], j + corner[e[0]][1], k + corner[e[0]][2]);
                    const Vec3 pb =
                        at(i + corner[e[1]][0], j + corner[e[1]][1], k + corner[e[1]][2]);
                    sum = sum + pa + (pb - pa) * t;
                    ++crossings;
                }
                Vec3 p = sum * (1.0f / crossings);
                const Vec3 cellLo = at(i, j, k), cellHi = at(i + 1, j + 1, k + 1);
                for (int step = 0; step < 3; ++step) {
                    const float h = cell * 0.05f, f = field(p);
                    const Vec3 g{(field(p + Vec3{h, 0, 0}) - field(p - Vec3{h, 0, 0})) / (2 * h),
                                 (field(p + Vec3{0, h, 0}) - field(p - Vec3{0, h, 0})) / (2 * h),
                                 (field(p + Vec3{0, 0, h}) - field(p - Vec3{0, 0, h})) / (2 * h)};
                    const float g2 = g.x * g.x + g.y * g.y + g.z * g.z;
                    if (g2 < 1e-12f) {
                        break;
                    }
                    p = p - g * (f / g2);
                    // Keep the point in its cell so that the quads stay well shaped.
                    p = {std::fmin(std::fmax(p.x, cellLo.x), cellHi.x),
                         std::fmin(std::fmax(p.y, cellLo.y), cellHi.y),
                         std::fmin(std::fmax(p.z, cellLo.z), cellHi.z)};
                }
                cellPoint[key(i, j, k)] = mesh.addPoint(p);
            }
        }
    }

    // One quad per grid edge that the surface crosses, joining the four cells around it and
    // facing from the inside end of the edge to the outside end.
    for (int axis = 0; axis < 3; ++axis) {
        const int b = (axis + 1) % 3, c = (axis + 2) % 3;
        for (int k = 0; k < n[2]; ++k) {
            for (int j = 0; j < n[1]; ++j) {
                for (int i = 0; i < n[0]; ++i) {
                    int g[3] = {i, j, k};
                    if (g[axis] + 1 >= n[axis] || g[b] < 1 || g[c] < 1 || g[b] + 1 >= n[b] ||
                        g[c] + 1 >= n[c]) {
                        continue;
                    }
                    int h[3] = {i, j, k};
                    ++h[axis];
                    const float v0 = value[key(g[0], g[1], g[2])];
                    const float v1 = value[key(h[0], h[1], h[2])];
                    if ((v0 < 0) == (v1 < 0)) {
                        continue;
                    }
                    static const int offsets[4][2] = {{-1, -1}, {0, -1}, {0, 0}, {-1, 0}};
                    std::array<uint32_t, 4> quad{};
                    for (int q = 0; q < 4; ++q) {
                        int cellIndex[3] = {i, j, k};
                        cellIndex[b] += offsets[q][0];
                        cellIndex[c] += offsets[q][1];
                        quad[q] = cellPoint.at(key(cellIndex[0], cellIndex[1], cellIndex[2]));
                    }
                    if (v0 < 0) {
                        mesh.addQuad(quad[0], quad[1], quad[2], quad[3]);
                    } else {
                        mesh.addQuad(quad[3], quad[2], quad[1], quad[0]);
                    }
                }
            }
        }
    }
    return mesh;
}
