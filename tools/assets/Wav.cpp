#include "Wav.h"

#include <string_view>

namespace {

void put(std::vector<uint8_t>& out, std::string_view text) {
    for (const char c : text) {
        out.push_back(static_cast<uint8_t>(c));
    }
}

// Little-endian, as RIFF is.
void put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

} // namespace

std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples, int sampleRate) {
    const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    put(out, "RIFF");
    put(out, 36 + dataBytes, 4);
    put(out, "WAVE");
    put(out, "fmt ");
    put(out, 16, 4);
    put(out, 1, 2); // PCM
    put(out, 1, 2); // mono
    put(out, static_cast<uint32_t>(sampleRate), 4);
    put(out, static_cast<uint32_t>(sampleRate * 2), 4); // bytes per second
    put(out, 2, 2);                                     // bytes per sample frame
    put(out, 16, 2);                                    // bits per sample
    put(out, "data");
    put(out, dataBytes, 4);
    for (const int16_t sample : samples) {
        put(out, static_cast<uint16_t>(sample), 2);
    }
    return out;
}
