#pragma once

#include <cstdint>
#include <vector>

// What the colour picker decides without a display: its layout, what the mouse does to the
// colour, and the picture of its hue/saturation field and value bar.
struct PickerRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

class ColorPickerModel {
public:
    static constexpr int requestedWidth = 220;
    static constexpr int requestedHeight = 250;
    // Below this the field and the bar would have no room.
    static constexpr int smallestWidth = 70;
    static constexpr int smallestHeight = 100;
    // Below this nothing is drawn.
    static constexpr int smallestDrawnSize = 50;
    static constexpr int barWidth = 20;
    static constexpr int previewWidth = 100;
    static constexpr int previewHeight = 50;
    static constexpr float highestHue = 359.9999f;
    // Kept above zero so that the hue of a grey survives a round through RGB.
    static constexpr float lowestSaturation = 0.00001f;

    enum DragMode { NoDrag = 0, DraggingField = 1, DraggingBar = 2 };
    // Mouse buttons as SDL numbers them.
    enum Button { LeftButton = 1, MiddleButton = 2, RightButton = 3 };
    // redrawFlags bit 0: the cached picture is out of date.
    static constexpr int redrawPicture = 1;

    // Lays the field, the bar and the preview out in a widget of w × h pixels; -1 (and nothing
    // changed) when it is too small for them.
    int sizeAllocate(int w, int h);

    // Mouse input in widget coordinates.
    void mouseButtonDown(int button, int x, int y);
    void mouseMotion(int x, int y);
    void mouseButtonUp();

    void setHueSaturation(int x, int y);
    void setValue(int y);
    // Starts from a colour: red, green and blue as given, the rest derived and clamped.
    void fromRgb(uint8_t r, uint8_t g, uint8_t b);

    // Renders the field and the bar into RGBA rows of the widget's size and clears redraw bit 0.
    void renderPicture(std::vector<uint8_t>& pixels);

    // Centre of the hue/saturation marker and height of the value marker, in widget coordinates.
    float fieldMarkerX() const;
    float fieldMarkerY() const;
    float valueMarkerY() const;

    float hue = 0.0f;
    float saturation = 0.0f;
    float value = 0.0f;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    int dragMode = NoDrag;
    int redrawFlags = 0;
    int width = 0;
    int height = 0;
    PickerRect fieldRect;
    PickerRect barRect;
    PickerRect previewRect;

private:
    void clampHueAndSaturation();
    void convert();
};
