#pragma once

#include "ColorConversion.h"
#include "Settings.h"

#include <array>
#include <cstdint>

using PieceColor = std::array<uint8_t, 4>; // R, G, B, A

// A 50 × 15 picture of one colour that stands next to its "Change..." button.
struct Swatch {
    static constexpr int width = 50;
    static constexpr int height = 15;
    std::array<uint8_t, width * height * 4> pixels{};
    // Set when the pixels change; whoever shows the picture clears it.
    bool changed = false;

    void fill(const PieceColor& colour);
    bool operator==(const Swatch&) const = default;
};

struct FieldRange {
    double lowest;
    double highest;
};
inline constexpr FieldRange thinkRange{1.0, 1000.0};
inline constexpr FieldRange depthRange{1.0, 100.0};
inline constexpr FieldRange threadsRange{1.0, 64.0};
inline constexpr FieldRange reflectivityRange{0.0, 1.0};

// A numeric field's value once editing ends: a number outside the range becomes its nearest
// end, and what is no number at all (the toolkit reads "nan" as one) gives back `before`.
double keepInRange(double edited, double before, FieldRange range);

// What the "Settings" window shows while the user edits it. The record changes only when the
// edits are accepted.
struct SettingsForm {
    int whitePlayerRadio = 0; // 0 "Human", 1 "AI"
    int blackPlayerRadio = 0;
    double thinkField = 0.0; // seconds
    double depthField = 0.0; // plies
    int seeCheckbox = 0;
    double threadsField = 0.0;
    double reflectivity = 0.0;
    PieceColor whiteColor{};
    PieceColor blackColor{};
    Swatch whiteSwatch;
    Swatch blackSwatch;
    int knightsRadio = 0; // 0 "forward", 1 "sideways"

    // Shows the record again: every edit is dropped.
    void load(const Settings& record);
    // What the colour window's "OK" does: the colour, opaque, and its swatch.
    void takePickedColor(bool forWhitePieces, RgbColor colour);
    bool operator==(const SettingsForm&) const = default;
};
