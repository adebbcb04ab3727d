#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes 8-bit RGBA pixels (straight alpha, top row first) as a PNG file; false when the file
// cannot be written.
bool writeRgbaPng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);
