#include "Lwo.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

uint32_t LwoMesh::addPoint(Vec3 p) {
    points.push_back(p);
    return static_cast<uint32_t>(points.size() - 1);
}

void LwoMesh::addTriangle(uint32_t a, uint32_t b, uint32_t c) {
    polygons.push_back({a, b, c});
}

void LwoMesh::addQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    polygons.push_back({a, b, c, d});
}

void LwoMesh::append(const LwoMesh& other) {
    const auto base = static_cast<uint32_t>(points.size());
    points.insert(points.end(), other.points.begin(), other.points.end());
    for (auto polygon : other.polygons) {
        for (auto& index : polygon) {
            index += base;
        }
        polygons.push_back(std::move(polygon));
    }
}

size_t LwoMesh::triangleCount() const {
    size_t count = 0;
    for (const auto& polygon : polygons) {
        count += polygon.size() - 2;
    }
    return count;
}

namespace {

// IFF chunks are big-endian and padded to even lengths.
class Bytes {
public:
    std::vector<uint8_t> data;

    void u8(uint8_t v) { data.push_back(v); }
    void u16(uint16_t v) {
        u8(static_cast<uint8_t>(v >> 8));
        u8(static_cast<uint8_t>(v));
    }
    void u32(uint32_t v) {
        u16(static_cast<uint16_t>(v >> 16));
        u16(static_cast<uint16_t>(v));
    }
    void f32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }
    void id(const char* tag) {
        for (int i = 0; i < 4; ++i) {
            u8(static_cast<uint8_t>(tag[i]));
        }
    }
    // A zero-terminated string padded to an even length.
    void s0(const std::string& s) {
        for (char c : s) {
            u8(static_cast<uint8_t>(c));
        }
        u8(0);
        if (s.size() % 2 == 0) {
            u8(0);
        }
    }
    // A point index: two bytes when small, else four with a 0xFF marker byte.
    void vx(uint32_t index) {
        if (index < 0xFF00) {
            u16(static_cast<uint16_t>(index));
        } else {
            u32(index | 0xFF000000u);
        }
    }
    void append(const Bytes& other) {
        data.insert(data.end(), other.data.begin(), other.data.end());
    }
};

void chunk(Bytes& out, const char* tag, const Bytes& body) {
    out.id(tag);
    out.u32(static_cast<uint32_t>(body.data.size()));
    out.append(body);
    if (body.data.size() % 2) {
        out.u8(0);
    }
}

void subchunk(Bytes& out, const char* tag, const Bytes& body) {
    out.id(tag);
    out.u16(static_cast<uint16_t>(body.data.size()));
    out.append(body);
}

} // namespace

std::vector<uint8_t> encodeLwo(const LwoMesh& mesh, const std::string& surfaceName,
                               const float rgb[3]) {
    Bytes body;
    body.id("LWO2");

    Bytes tags;
    tags.s0(surfaceName);
    chunk(body, "TAGS", tags);

    Bytes layer;
    layer.u16(0);
    layer.u16(0);
    for (int i = 0; i < 3; ++i) {
        layer.f32(0.0f);
    }
    layer.s0("");
    chunk(body, "LAYR", layer);

    // LightWave's frame is left-handed: its z axis points away from the viewer. Mirroring z
    // and reversing each polygon keeps the shape and its outward side.
    Bytes points;
    Vec3 lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
    for (const Vec3& p : mesh.points) {
        points.f32(p.x);
        points.f32(p.y);
        points.f32(-p.z);
        lo = {std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, -p.z)};
        hi = {std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, -p.z)};
    }
    chunk(body, "PNTS", points);

    if (!mesh.points.empty()) {
        Bytes box;
        for (float v : {lo.x, lo.y, lo.z, hi.x, hi.y, hi.z}) {
            box.f32(v);
        }
        chunk(body, "BBOX", box);
    }

    Bytes polygons;
    polygons.id("FACE");
    for (const auto& polygon : mesh.polygons) {
        if (polygon.size() < 3 || polygon.size() > 1023) {
            throw std::invalid_argument("polygon with an unsupported corner count");
        }
        polygons.u16(static_cast<uint16_t>(polygon.size()));
        // LightWave lists corners clockwise seen from outside.
        polygons.vx(polygon[0]);
        for (size_t i = polygon.size() - 1; i >= 1; --i) {
            polygons.vx(polygon[i]);
        }
    }
    chunk(body, "POLS", polygons);

    Bytes tagsOfPolygons;
    tagsOfPolygons.id("SURF");
    for (uint32_t i = 0; i < mesh.polygons.size(); ++i) {
        tagsOfPolygons.vx(i);
        tagsOfPolygons.u16(0);
    }
    chunk(body, "PTAG", tagsOfPolygons);

    Bytes surface;
    surface.s0(surfaceName);
    surface.s0("");
    Bytes colour;
    for (int i = 0; i < 3; ++i) {
        colour.f32(rgb[i]);
    }
    colour.vx(0);
    subchunk(surface, "COLR", colour);
    Bytes diffuse;
    diffuse.f32(1.0f);
    diffuse.vx(0);
    subchunk(surface, "DIFF", diffuse);
    Bytes smoothing;
    smoothing.f32(mesh.smoothingDegrees * 3.14159265358979f / 180.0f);
    subchunk(surface, "SMAN", smoothing);
    chunk(body, "SURF", surface);

    Bytes file;
    chunk(file, "FORM", body);
    return file.data;
}
