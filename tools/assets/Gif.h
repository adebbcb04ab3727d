#pragma once

#include <array>
#include <cstdint>
#include <vector>

// An image of palette indices, row by row from the top.
struct IndexedImage {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;
    std::vector<std::array<uint8_t, 3>> palette; // at most 256 colours
};

// The bytes of a GIF89a file holding the image, LZW-compressed.
std::vector<uint8_t> encodeGif(const IndexedImage& image);
