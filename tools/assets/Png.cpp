#include "Png.h"

#include <zlib.h>

#include <fstream>

namespace {

void putU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(v >> shift));
    }
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    putU32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putU32(out, static_cast<uint32_t>(
                    crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

} // namespace

bool writeRgbaPng(const std::string& path, int width, int height,
                  const std::vector<uint8_t>& rgba) {
    const size_t row = static_cast<size_t>(width) * 4;
    if (width <= 0 || height <= 0 || rgba.size() != row * static_cast<size_t>(height)) {
        return false;
    }
    std::vector<uint8_t> raw;
    raw.reserve((row + 1) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        raw.insert(raw.end(), rgba.begin() + static_cast<std::ptrdiff_t>(y * row),
                   rgba.begin() + static_cast<std::ptrdiff_t>((y + 1) * row));
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(size);
    if (compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
        return false;
    }
    packed.resize(size);

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putU32(header, static_cast<uint32_t>(width));
    putU32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits per channel, RGBA
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", packed);
    chunk(png, "IEND", {});
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(file);
}
