#pragma once

#include <cstdint>

// The standard conversions between hue/saturation/value and 8-bit red/green/blue: hue in
// degrees, saturation and value from 0 to 1. Bytes are rounded to the nearest, so that a colour
// taken to HSV and back keeps every byte.

struct RgbColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const RgbColor&) const = default;
};

struct HsvColor {
    float hue = 0.0f;
    float saturation = 0.0f;
    float value = 0.0f;
};

RgbColor hsvToRgb(float hue, float saturation, float value);
// A grey has no hue: it comes back with hue 0 and saturation 0.
HsvColor rgbToHsv(uint8_t red, uint8_t green, uint8_t blue);
