#include "ColorConversion.h"
#include "ColorPickerModel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

ColorPickerModel pickerOfRequestedSize() {
    ColorPickerModel picker;
    EXPECT_EQ(
        picker.sizeAllocate(ColorPickerModel::requestedWidth, ColorPickerModel::requestedHeight),
        0);
    return picker;
}

void expectRect(const PickerRect& rect, int x, int y, int w, int h) {
    EXPECT_EQ(rect.x, x);
    EXPECT_EQ(rect.y, y);
    EXPECT_EQ(rect.w, w);
    EXPECT_EQ(rect.h, h);
}

TEST(ColorPickerGeometry, LaysOutFieldBarAndPreviewAndRefusesTooSmallSizes) {
    ColorPickerModel picker = pickerOfRequestedSize();
    expectRect(picker.fieldRect, 0, 0, 200, 200);
    expectRect(picker.barRect, 200, 0, 20, 200);
    expectRect(picker.previewRect, 0, 200, 100, 50);
    EXPECT_NE(picker.redrawFlags & ColorPickerModel::redrawPicture, 0);

    picker.redrawFlags = 0;
    EXPECT_EQ(picker.sizeAllocate(69, 250), -1);
    EXPECT_EQ(picker.sizeAllocate(220, 99), -1);
    // A refused size leaves the layout and the picture as they were.
    expectRect(picker.fieldRect, 0, 0, 200, 200);
    EXPECT_EQ(picker.redrawFlags, 0);

    EXPECT_EQ(picker.sizeAllocate(70, 100), 0);
    expectRect(picker.fieldRect, 0, 0, 50, 50);
    expectRect(picker.barRect, 50, 0, 20, 50);
    expectRect(picker.previewRect, 0, 50, 100, 50);
}

TEST(ColorPickerMouse, PressesChooseFieldOrBarAndOnlyTheLeftButtonActs) {
    ColorPickerModel picker = pickerOfRequestedSize();
    picker.fromRgb(255, 0, 0);

    // The first column of the bar sets the value, not the hue.
    picker.mouseButtonDown(ColorPickerModel::LeftButton, picker.fieldRect.w, 50);
    EXPECT_EQ(picker.dragMode, ColorPickerModel::DraggingBar);
    EXPECT_FLOAT_EQ(picker.value, 0.75f);
    EXPECT_EQ(picker.hue, 0.0f);
    EXPECT_EQ(picker.saturation, 1.0f);
    EXPECT_EQ(picker.red, 191);
    picker.mouseButtonUp();
    EXPECT_EQ(picker.dragMode, ColorPickerModel::NoDrag);

    picker.mouseButtonDown(ColorPickerModel::LeftButton, 100, 150);
    EXPECT_EQ(picker.dragMode, ColorPickerModel::DraggingField);
    EXPECT_FLOAT_EQ(picker.hue, 180.0f);
    EXPECT_FLOAT_EQ(picker.saturation, 0.25f);
    EXPECT_EQ(picker.value, 0.75f);
    picker.mouseButtonUp();

    // The right and middle buttons, a press in the preview and motion without a drag do nothing.
    const ColorPickerModel before = picker;
    picker.redrawFlags = 0;
    picker.mouseButtonDown(ColorPickerModel::RightButton, 10, 10);
    picker.mouseButtonDown(ColorPickerModel::MiddleButton, 210, 10);
    picker.mouseButtonDown(ColorPickerModel::LeftButton, 10, picker.fieldRect.h);
    picker.mouseMotion(30, 30);
    EXPECT_EQ(picker.dragMode, ColorPickerModel::NoDrag);
    EXPECT_EQ(picker.hue, before.hue);
    EXPECT_EQ(picker.saturation, before.saturation);
    EXPECT_EQ(picker.value, before.value);
    EXPECT_EQ(picker.redrawFlags, 0);
}

TEST(ColorPickerMouse, DraggingOutsideTheWidgetIsClamped) {
    ColorPickerModel picker = pickerOfRequestedSize();
    picker.fromRgb(0, 0, 255);
    picker.mouseButtonDown(ColorPickerModel::LeftButton, 20, 20);
    picker.mouseMotion(-30, 500);
    EXPECT_EQ(picker.hue, 0.0f);
    EXPECT_EQ(picker.saturation, ColorPickerModel::lowestSaturation);
    // Exactly one full turn is kept just below it.
    picker.mouseMotion(picker.fieldRect.w, -100);
    EXPECT_EQ(picker.hue, ColorPickerModel::highestHue);
    EXPECT_EQ(picker.saturation, 1.0f);
    picker.mouseMotion(5000, 0);
    EXPECT_EQ(picker.hue, ColorPickerModel::highestHue);
    EXPECT_EQ(picker.red, 255);
    EXPECT_EQ(picker.blue, 0);
    picker.mouseButtonUp();

    picker.mouseButtonDown(ColorPickerModel::LeftButton, 210, 100);
    picker.mouseMotion(210, -5);
    EXPECT_EQ(picker.value, 1.0f);
    picker.mouseMotion(-400, 1000);
    EXPECT_EQ(picker.value, 0.0f);
    EXPECT_EQ(picker.red + picker.green + picker.blue, 0);
}

TEST(ColorPickerColour, AGreyOpensWithTheLowestSaturation) {
    for (int grey : {0, 128, 255}) {
        ColorPickerModel picker = pickerOfRequestedSize();
        const auto g = static_cast<uint8_t>(grey);
        picker.fromRgb(g, g, g);
        EXPECT_EQ(picker.saturation, ColorPickerModel::lowestSaturation);
        EXPECT_EQ(picker.hue, 0.0f);
        EXPECT_EQ((RgbColor{picker.red, picker.green, picker.blue}), (RgbColor{g, g, g}));
    }
}

TEST(ColorPickerColour, ConversionsAreTheStandardOnes) {
    EXPECT_EQ(hsvToRgb(0.0f, 1.0f, 1.0f), (RgbColor{255, 0, 0}));
    EXPECT_EQ(hsvToRgb(60.0f, 1.0f, 1.0f), (RgbColor{255, 255, 0}));
    EXPECT_EQ(hsvToRgb(120.0f, 1.0f, 1.0f), (RgbColor{0, 255, 0}));
    EXPECT_EQ(hsvToRgb(210.0f, 0.5f, 0.8f), (RgbColor{102, 153, 204}));
    EXPECT_EQ(hsvToRgb(300.0f, 1.0f, 0.5f), (RgbColor{128, 0, 128}));
    const HsvColor brown = rgbToHsv(64, 32, 16);
    EXPECT_FLOAT_EQ(brown.hue, 20.0f);
    EXPECT_FLOAT_EQ(brown.saturation, 0.75f);
    EXPECT_FLOAT_EQ(brown.value, 64.0f / 255.0f);
    EXPECT_FLOAT_EQ(rgbToHsv(255, 0, 1).hue, 360.0f - 60.0f / 255.0f);
}

TEST(ColorPickerColour, EveryRgbTripleSurvivesFromRgb) {
    ColorPickerModel picker = pickerOfRequestedSize();
    int failures = 0;
    for (int r = 0; r < 256; ++r) {
        for (int g = 0; g < 256; ++g) {
            for (int b = 0; b < 256; ++b) {
                picker.fromRgb(static_cast<uint8_t>(r), static_cast<uint8_t>(g),
                               static_cast<uint8_t>(b));
                if (picker.red != r || picker.green != g || picker.blue != b) {
                    if (++failures <= 5) {
                        ADD_FAILURE()
                            << r << "," << g << "," << b << " came back as " << int(picker.red)
                            << "," << int(picker.green) << "," << int(picker.blue);
                    }
                }
            }
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(ColorPickerPicture, FieldAndBarAreRenderedOnceUntilTheColourChanges) {
    ColorPickerModel picker = pickerOfRequestedSize();
    picker.fromRgb(0, 0, 255);
    std::vector<uint8_t> pixels;
    picker.renderPicture(pixels);
    EXPECT_EQ(picker.redrawFlags & ColorPickerModel::redrawPicture, 0);
    ASSERT_EQ(pixels.size(), 220u * 250u * 4u);
    auto at = [&](int x, int y) {
        const uint8_t* p = &pixels[(static_cast<size_t>(y) * 220 + static_cast<size_t>(x)) * 4];
        return std::vector<int>{p[0], p[1], p[2], p[3]};
    };
    // Hue along x, saturation falling downwards, at full value.
    EXPECT_EQ(at(0, 0), (std::vector<int>{255, 0, 0, 255}));
    EXPECT_EQ(at(100, 0), (std::vector<int>{0, 255, 255, 255}));
    EXPECT_EQ(at(100, 199), (std::vector<int>{254, 255, 255, 255}));
    // The bar: the chosen hue and saturation from full value at the top towards black.
    EXPECT_EQ(at(219, 0), (std::vector<int>{0, 0, 255, 255}));
    EXPECT_EQ(at(200, 100), (std::vector<int>{0, 0, 128, 255}));
    EXPECT_EQ(at(210, 199), (std::vector<int>{0, 0, 1, 255}));
    // Below them the picture is opaque black; the preview is drawn over it.
    EXPECT_EQ(at(150, 220), (std::vector<int>{0, 0, 0, 255}));

    picker.setValue(100);
    EXPECT_NE(picker.redrawFlags & ColorPickerModel::redrawPicture, 0);
}

} // namespace
