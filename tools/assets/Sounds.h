#pragma once

#include <cstdint>
#include <vector>

// The window's short sounds, synthesised: mono 16-bit samples at soundSampleRate.
constexpr int soundSampleRate = 22050;

// A wooden knock, as of a piece set down on the board.
std::vector<int16_t> moveSound();
// Two knocks, lower and harder: a piece taken and one set down.
std::vector<int16_t> captureSound();
// Two rising bell tones.
std::vector<int16_t> checkSound();
// A rising major arpeggio that rings out.
std::vector<int16_t> gameEndSound();
