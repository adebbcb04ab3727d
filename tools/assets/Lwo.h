#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A polygon mesh as a LightWave object stores it: shared points and polygons that index them.
struct Vec3 {
    float x = 0, y = 0, z = 0;
};

struct LwoMesh {
    std::vector<Vec3> points;
    // Each polygon lists its corners counter-clockwise as seen from outside, in the program's
    // right-handed frame; the writer turns them into the file's own handedness.
    std::vector<std::vector<uint32_t>> polygons;
    // Polygons whose shared edges meet at less than this angle are shaded smoothly.
    float smoothingDegrees = 50.0f;

    uint32_t addPoint(Vec3 p);
    void addTriangle(uint32_t a, uint32_t b, uint32_t c);
    void addQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d);
    // Appends another mesh as more polygons of this one.
    void append(const LwoMesh& other);
    size_t triangleCount() const;
};

// The bytes of an LWO2 object file holding the mesh as one layer with one surface.
std::vector<uint8_t> encodeLwo(const LwoMesh& mesh, const std::string& surfaceName,
                               const float rgb[3]);
