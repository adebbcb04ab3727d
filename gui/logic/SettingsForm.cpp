#include "SettingsForm.h"

#include <algorithm>
#include <cmath>

void Swatch::fill(const PieceColor& colour) {
    for (size_t i = 0; i < pixels.size(); i += 4) {
        std::copy(colour.begin(), colour.end(), pixels.begin() + static_cast<std::ptrdiff_t>(i));
    }
    changed = true;
}

double keepInRange(double edited, double before, FieldRange range) {
    if (std::isnan(edited)) {
        return before;
    }
    return std::clamp(edited, range.lowest, range.highest);
}

void SettingsForm::load(const Settings& record) {
    whitePlayerRadio = record.whitePlayer;
    blackPlayerRadio = record.blackPlayer;
    thinkField = record.timePerMove;
    depthField = record.maxDepth;
    seeCheckbox = record.useSee;
    threadsField = record.threadCount;
    reflectivity = record.reflectivity;
    std::copy(std::begin(record.whiteColor), std::end(record.whiteColor), whiteColor.begin());
    std::copy(std::begin(record.blackColor), std::end(record.blackColor), blackColor.begin());
    knightsRadio = record.knightsFace;
    whiteSwatch.fill(whiteColor);
    blackSwatch.fill(blackColor);
}

void SettingsForm::takePickedColor(bool forWhitePieces, RgbColor colour) {
    PieceColor& target = forWhitePieces ? whiteColor : blackColor;
    target = {colour.red, colour.green, colour.blue, 255};
    (forWhitePieces ? whiteSwatch : blackSwatch).fill(target);
}
