#pragma once

#include "ColorPickerModel.h"
#include "PixelTexture.h"

#include <cstdint>
#include <vector>

// The colour picker widget: a hue/saturation field, a value bar and a preview of the colour,
// drawn with the toolkit at the cursor. The field and the bar are rendered once into a cached
// texture and again only when the colour or the size changed.
class ColorPicker : public ColorPickerModel {
public:
    ColorPicker();

    // Draws the widget and acts on the mouse; rendering thread, inside a toolkit window.
    void draw();

private:
    void handleMouse(float originX, float originY);

    // The cached picture: its pixels and the texture that shows them.
    std::vector<uint8_t> surface;
    PixelTexture surfaceTexture;
};
