#include "BoardImage.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr int side = 512, square = 64, shades = 24;

// Value noise from an integer hash, so the picture is the same on every machine.
float lattice(int32_t i, int32_t j, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(i) * 0x8DA6B343u ^ static_cast<uint32_t>(j) * 0xD8163841u ^
                 seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0x1000000);
}

float noise(float x, float y, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const auto i = static_cast<int32_t>(fx), j = static_cast<int32_t>(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const float a = lattice(i, j, seed), b = lattice(i + 1, j, seed);
    const float c = lattice(i, j + 1, seed), d = lattice(i + 1, j + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float fractal(float x, float y, uint32_t seed) {
    float sum = 0, amplitude = 0.5f;
    for (int octave = 0; octave < 3; ++octave) {
        sum += amplitude * noise(x, y, seed + octave * 101u);
        x *= 2.03f;
        y *= 2.03f;
        amplitude *= 0.5f;
    }
    return sum;
}

std::array<uint8_t, 3> mix(std::array<float, 3> a, std::array<float, 3> b, float t) {
    return {static_cast<uint8_t>(std::lround(a[0] + (b[0] - a[0]) * t)),
            static_cast<uint8_t>(std::lround(a[1] + (b[1] - a[1]) * t)),
            static_cast<uint8_t>(std::lround(a[2] + (b[2] - a[2]) * t))};
}

} // namespace

IndexedImage boardImage() {
    IndexedImage image;
    image.width = side;
    image.height = side;
    // Shades of maple for the light squares, then of walnut for the dark ones.
    for (int i = 0; i < shades; ++i) {
        image.palette.push_back(mix({238, 210, 165}, {190, 142, 92}, i / (shades - 1.0f)));
    }
    for (int i = 0; i < shades; ++i) {
        image.palette.push_back(mix({132, 86, 52}, {70, 40, 22}, i / (shades - 1.0f)));
    }

    image.pixels.resize(side * side);
    for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) {
            const int file = row / square + 1, rank = 8 - column / square;
            const bool dark = (file + rank) % 2 == 0;
            const auto seed = static_cast<uint32_t>(file * 16 + rank);
            // The grain runs along the image rows; each square is its own piece of veneer.
            const float along = static_cast<float>(column), across = static_cast<float>(row);
            const float offset = lattice(file, rank, 7u) * 40.0f;
            const float warp = 2.6f * fractal(along * 0.006f + offset, across * 0.018f, seed);
            const float rings = across * 0.085f + offset + warp;
            const float band = 0.5f + 0.5f * std::sin(rings * 6.2831853f);
            const float fibre = noise(along * 0.03f, across * 0.9f, seed + 50u);
            float shade = 0.15f + 0.55f * band * band * band + 0.3f * fibre;
            // A faint darkening at the square's edges, as where two veneers meet.
            const int u = column % square, v = row % square;
            const int edge = std::min(std::min(u, square - 1 - u), std::min(v, square - 1 - v));
            if (edge == 0) {
                shade += 0.25f;
            }
            shade = std::fmin(std::fmax(shade, 0.0f), 1.0f);
            const int index = static_cast<int>(std::lround(shade * (shades - 1)));
            image.pixels[row * side + column] = static_cast<uint8_t>(index + (dark ? shades : 0));
        }
    }
    return image;
}
