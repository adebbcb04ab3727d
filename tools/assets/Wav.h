#pragma once

#include <cstdint>
#include <vector>

// A mono sound as 16-bit signed samples at the given rate, in the RIFF WAVE format that SDL
// reads (SDL_LoadWAV).
std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples, int sampleRate);
