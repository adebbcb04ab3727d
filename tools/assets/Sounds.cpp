#include "Sounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Mixed in floating point, in -1..1, then scaled to 16 bits.
using Wave = std::vector<double>;

Wave silence(double seconds) {
    return Wave(static_cast<size_t>(seconds * soundSampleRate), 0.0);
}

// Noise from a fixed generator, so that the files come out the same wherever they are made.
double noise(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / static_cast<double>(1u << 23) - 1.0;
}

// A struck body: a few partials that die away fast, and a click of noise for the strike.
void addKnock(Wave& wave, double at, double pitch, double loudness, uint32_t seed) {
    const double partials[][2] = {{1.0, 1.0}, {2.27, 0.5}, {3.9, 0.25}};
    const auto start = static_cast<size_t>(at * soundSampleRate);
    for (size_t i = start; i < wave.size(); ++i) {
        const double t = static_cast<double>(i - start) / soundSampleRate;
        double v = 0;
        for (const auto& [ratio, weight] : partials) {
            // Higher partials fade faster.
            v += weight * std::sin(2 * std::numbers::pi * pitch * ratio * t) *
                 std::exp(-t * 55.0 * ratio);
        }
        v += 0.6 * noise(seed) * std::exp(-t * 900.0);
        wave[i] += loudness * v;
    }
}

// A bell-like tone: a soft attack and a long fading ring with a quiet octave above.
void addTone(Wave& wave, double at, double seconds, double pitch, double loudness) {
    const auto start = static_cast<size_t>(at * soundSampleRate);
    const auto end = std::min(wave.size(), start + static_cast<size_t>(seconds * soundSampleRate));
    for (size_t i = start; i < end; ++i) {
        const double t = static_cast<double>(i - start) / soundSampleRate;
        const double attack = std::min(1.0, t / 0.005);
        const double left = static_cast<double>(end - i) / soundSampleRate;
        const double release = std::min(1.0, left / 0.02);
        const double v = std::sin(2 * std::numbers::pi * pitch * t) +
                         0.3 * std::sin(2 * std::numbers::pi * 2 * pitch * t);
        wave[i] += loudness * attack * release * std::exp(-t * 6.0) * v;
    }
}

std::vector<int16_t> samplesOf(const Wave& wave) {
    double peak = 1e-9;
    for (const double v : wave) {
        peak = std::max(peak, std::abs(v));
    }
    // Every sound peaks at the same level, below the top to leave the mixer room.
    const double scale = 0.7 * 32767 / peak;
    std::vector<int16_t> samples;
    samples.reserve(wave.size());
    for (const double v : wave) {
        samples.push_back(static_cast<int16_t>(std::lround(v * scale)));
    }
    return samples;
}

} // namespace

std::vector<int16_t> moveSound() {
    Wave wave = silence(0.12);
    addKnock(wave, 0, 620, 1.0, 7);
    return samplesOf(wave);
}

std::vector<int16_t> captureSound() {
    Wave wave = silence(0.2);
    addKnock(wave, 0, 380, 1.0, 11);
    addKnock(wave, 0.06, 540, 0.8, 13);
    return samplesOf(wave);
}

std::vector<int16_t> checkSound() {
    Wave wave = silence(0.34);
    addTone(wave, 0, 0.14, 880, 1.0);
    addTone(wave, 0.12, 0.22, 1174.66, 1.0);
    return samplesOf(wave);
}

std::vector<int16_t> gameEndSound() {
    Wave wave = silence(1.0);
    const double notes[] = {523.25, 659.26, 783.99, 1046.5};
    for (int i = 0; i < 4; ++i) {
        addTone(wave, 0.13 * i, 1.0 - 0.13 * i, notes[i], 0.8);
    }
    return samplesOf(wave);
}
