#include "ColorPickerModel.h"

#include "ColorConversion.h"

#include <algorithm>

int ColorPickerModel::sizeAllocate(int w, int h) {
    if (w < smallestWidth || h < smallestHeight) {
        return -1;
    }
    width = w;
    height = h;
    fieldRect = {0, 0, w - barWidth, h - previewHeight};
    barRect = {w - barWidth, 0, barWidth, h - previewHeight};
    previewRect = {0, h - previewHeight, previewWidth, previewHeight};
    redrawFlags |= redrawPicture;
    return 0;
}

void ColorPickerModel::mouseButtonDown(int button, int x, int y) {
    // The preview below the field takes no clicks.
    if (button != LeftButton || y >= fieldRect.h) {
        return;
    }
    if (x < fieldRect.w) {
        setHueSaturation(x, y);
        dragMode = DraggingField;
    } else {
        setValue(y);
        dragMode = DraggingBar;
    }
}

void ColorPickerModel::mouseMotion(int x, int y) {
    if (dragMode == DraggingField) {
        setHueSaturation(x, y);
    } else if (dragMode == DraggingBar) {
        setValue(y);
    }
}

void ColorPickerModel::mouseButtonUp() {
    dragMode = NoDrag;
}

void ColorPickerModel::setHueSaturation(int x, int y) {
    hue = static_cast<float>(x) * 360.0f / static_cast<float>(fieldRect.w);
    saturation = 1.0f - static_cast<float>(y) / static_cast<float>(fieldRect.h);
    clampHueAndSaturation();
    convert();
}

void ColorPickerModel::setValue(int y) {
    value = std::clamp(1.0f - static_cast<float>(y) / static_cast<float>(barRect.h), 0.0f, 1.0f);
    convert();
}

void ColorPickerModel::fromRgb(uint8_t r, uint8_t g, uint8_t b) {
    const HsvColor hsv = rgbToHsv(r, g, b);
    hue = hsv.hue;
    saturation = hsv.saturation;
    value = hsv.value;
    clampHueAndSaturation();
    convert();
}

void ColorPickerModel::clampHueAndSaturation() {
    if (hue < 0.0f) {
        hue = 0.0f;
    } else if (hue >= 360.0f) {
        hue = highestHue;
    }
    if (saturation <= 0.0f) {
        saturation = lowestSaturation;
    } else if (saturation > 1.0f) {
        saturation = 1.0f;
    }
}

void ColorPickerModel::convert() {
    const RgbColor rgb = hsvToRgb(hue, saturation, value);
    red = rgb.red;
    green = rgb.green;
    blue = rgb.blue;
    redrawFlags |= redrawPicture;
}

void ColorPickerModel::renderPicture(std::vector<uint8_t>& pixels) {
    redrawFlags &= ~redrawPicture;
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    auto put = [&](int x, int y, RgbColor colour) {
        uint8_t* pixel =
            &pixels[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) *
                    4];
        pixel[0] = colour.red;
        pixel[1] = colour.green;
        pixel[2] = colour.blue;
    };
    for (size_t i = 3; i < pixels.size(); i += 4) {
        pixels[i] = 255;
    }
    for (int i = 0; i < fieldRect.h; ++i) {
        const float rowSaturation = 1.0f - static_cast<float>(i) / static_cast<float>(fieldRect.h);
        for (int j = 0; j < fieldRect.w; ++j) {
            const float columnHue =
                static_cast<float>(j) * 360.0f / static_cast<float>(fieldRect.w);
            put(fieldRect.x + j, fieldRect.y + i, hsvToRgb(columnHue, rowSaturation, 1.0f));
        }
    }
    for (int a = 0; a < barRect.h; ++a) {
        const RgbColor shade =
            hsvToRgb(hue, saturation, 1.0f - static_cast<float>(a) / static_cast<float>(barRect.h));
        for (int column = 0; column < barRect.w; ++column) {
            put(barRect.x + column, barRect.y + a, shade);
        }
    }
}

float ColorPickerModel::fieldMarkerX() const {
    return static_cast<float>(fieldRect.x) + hue / 360.0f * static_cast<float>(fieldRect.w);
}

float ColorPickerModel::fieldMarkerY() const {
    return static_cast<float>(fieldRect.y) + (1.0f - saturation) * static_cast<float>(fieldRect.h);
}

float ColorPickerModel::valueMarkerY() const {
    return static_cast<float>(barRect.y) + (1.0f - value) * static_cast<float>(barRect.h);
}
