#include "ScreenButtons.h"

namespace {

constexpr int margin = 25;

} // namespace

bool ScreenButton::contains(int mouseX, int mouseY) const {
    return mouseX > x && mouseX < x + width && mouseY > hitY && mouseY < hitY + height;
}

ButtonPlace buttonPlace(const std::string& text, int buttonWidth, int buttonHeight, int windowWidth,
                        int windowHeight) {
    const int rightEdge = windowWidth - buttonWidth - margin;
    const int halfWay = windowHeight / 2 - buttonHeight / 2 + margin;
    int x = rightEdge;
    int y = halfWay;
    if (text == newGameButton) {
        y = windowHeight - margin;
    } else if (text == settingsButton) {
        y = 50;
    } else if (text == undoButton) {
        x = margin;
    }
    // The overlay draws the image downward from y; the mouse counts from the top.
    return {x, y, windowHeight - y};
}

void layOutButtons(ScreenButtons& buttons, int windowWidth, int windowHeight) {
    for (auto& [text, button] : buttons) {
        const ButtonPlace place =
            buttonPlace(text, button.width, button.height, windowWidth, windowHeight);
        button.x = place.x;
        button.y = place.y;
        button.hitY = place.hitY;
    }
}
