#include "ColorConversion.h"

#include <algorithm>
#include <cmath>

namespace {

uint8_t toByte(float channel) {
    return static_cast<uint8_t>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f));
}

} // namespace

RgbColor hsvToRgb(float hue, float saturation, float value) {
    const float sector = hue / 60.0f;
    const float whole = std::floor(sector);
    const float fraction = sector - whole;
    const float p = value * (1.0f - saturation);
    const float q = value * (1.0f - saturation * fraction);
    const float t = value * (1.0f - saturation * (1.0f - fraction));
    float r, g, b;
    // The modulo keeps a hue of 360 or a negative one on the circle.
    switch (((static_cast<int>(whole) % 6) + 6) % 6) {
    case 0:
        r = value, g = t, b = p;
        break;
    case 1:
        r = q, g = value, b = p;
        break;
    case 2:
        r = p, g = value, b = t;
        break;
    case 3:
        r = p, g = q, b = value;
        break;
    case 4:
        r = t, g = p, b = value;
        break;
    default:
        r = value, g = p, b = q;
        break;
    }
    return {toByte(r), toByte(g), toByte(b)};
}

HsvColor rgbToHsv(uint8_t red, uint8_t green, uint8_t blue) {
    const int largest = std::max({red, green, blue});
    const int smallest = std::min({red, green, blue});
    const float delta = static_cast<float>(largest - smallest);
    HsvColor hsv;
    hsv.value = static_cast<float>(largest) / 255.0f;
    if (largest == 0 || delta == 0.0f) {
        return hsv;
    }
    hsv.saturation = delta / static_cast<float>(largest);
    float hue;
    if (largest == red) {
        hue = 60.0f * static_cast<float>(green - blue) / delta;
    } else if (largest == green) {
        hue = 60.0f * (2.0f + static_cast<float>(blue - red) / delta);
    } else {
        hue = 60.0f * (4.0f + static_cast<float>(red - green) / delta);
    }
    hsv.hue = hue < 0.0f ? hue + 360.0f : hue;
    return hsv;
}
