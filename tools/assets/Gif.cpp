#include "Gif.h"

#include <map>
#include <stdexcept>

namespace {

// Packs variable-width codes least significant bit first, as GIF wants.
class CodeWriter {
public:
    std::vector<uint8_t> bytes;

    void put(uint32_t code, int width) {
        buffer_ |= code << filled_;
        filled_ += width;
        while (filled_ >= 8) {
            bytes.push_back(static_cast<uint8_t>(buffer_));
            buffer_ >>= 8;
            filled_ -= 8;
        }
    }
    void flush() {
        if (filled_ > 0) {
            bytes.push_back(static_cast<uint8_t>(buffer_));
        }
        buffer_ = 0;
        filled_ = 0;
    }

private:
    uint32_t buffer_ = 0;
    int filled_ = 0;
};

void u16(std::vector<uint8_t>& out, int v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

} // namespace

std::vector<uint8_t> encodeGif(const IndexedImage& image) {
    if (image.palette.empty() || image.palette.size() > 256 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height) {
        throw std::invalid_argument("malformed indexed image");
    }
    int depth = 1;
    while ((1u << depth) < image.palette.size()) {
        ++depth;
    }

    std::vector<uint8_t> out{'G', 'I', 'F', '8', '9', 'a'};
    u16(out, image.width);
    u16(out, image.height);
    out.push_back(static_cast<uint8_t>(0x80 | ((depth - 1) << 4) | (depth - 1)));
    out.push_back(0); // background colour
    out.push_back(0); // square pixels
    for (size_t i = 0; i < (1u << depth); ++i) {
        const auto colour = i < image.palette.size() ? image.palette[i] : std::array<uint8_t, 3>{};
        out.insert(out.end(), colour.begin(), colour.end());
    }
    out.push_back(0x2C);
    u16(out, 0);
    u16(out, 0);
    u16(out, image.width);
    u16(out, image.height);
    out.push_back(0); // no local palette, not interlaced

    const int minimumCodeSize = depth < 2 ? 2 : depth;
    out.push_back(static_cast<uint8_t>(minimumCodeSize));
    const uint32_t clear = 1u << minimumCodeSize, end = clear + 1;
    CodeWriter codes;
    std::map<std::pair<uint32_t, uint8_t>, uint32_t> table;
    uint32_t next = end + 1;
    int width = minimumCodeSize + 1;
    codes.put(clear, width);
    uint32_t prefix = image.pixels.empty() ? 0 : image.pixels[0];
    for (size_t i = 1; i < image.pixels.size(); ++i) {
        const uint8_t symbol = image.pixels[i];
        if (auto found = table.find({prefix, symbol}); found != table.end()) {
            prefix = found->second;
            continue;
        }
        codes.put(prefix, width);
        table[{prefix, symbol}] = next;
        // The decoder widens its codes once the code it is about to add no longer fits.
        if (next == (1u << width) && width < 12) {
            ++width;
        }
        if (++next == 4096) {
            codes.put(clear, width);
            table.clear();
            next = end + 1;
            width = minimumCodeSize + 1;
        }
        prefix = symbol;
    }
    if (!image.pixels.empty()) {
        codes.put(prefix, width);
    }
    codes.put(end, width);
    codes.flush();
    for (size_t at = 0; at < codes.bytes.size(); at += 255) {
        const size_t length = std::min<size_t>(255, codes.bytes.size() - at);
        out.push_back(static_cast<uint8_t>(length));
        out.insert(out.end(), codes.bytes.begin() + at, codes.bytes.begin() + at + length);
    }
    out.push_back(0);
    out.push_back(0x3B);
    return out;
}
