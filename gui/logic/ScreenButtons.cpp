#include "ScreenButtons.h"

namespace {

constexpr int margin = 25;

void place(ScreenButton& button, int x, int y, int windowHeight) {
    button.x = x;
    button.y = y;
    // The overlay draws the image downward from y; the mouse counts from the top.
    button.hitY = windowHeight - y;
}

} // namespace

bool ScreenButton::contains(int mouseX, int mouseY) const {
    return mouseX > x && mouseX < x + width && mouseY > hitY && mouseY < hitY + height;
}

void layOutButtons(ScreenButtons& buttons, int windowWidth, int windowHeight) {
    for (auto& [text, button] : buttons) {
        const int rightEdge = windowWidth - button.width - margin;
        const int halfWay = windowHeight / 2 - button.height / 2 + margin;
        if (text == newGameButton) {
            place(button, rightEdge, windowHeight - margin, windowHeight);
        } else if (text == settingsButton) {
            place(button, rightEdge, 50, windowHeight);
        } else if (text == undoButton) {
            place(button, margin, halfWay, windowHeight);
        } else {
            place(button, rightEdge, halfWay, windowHeight);
        }
    }
}
