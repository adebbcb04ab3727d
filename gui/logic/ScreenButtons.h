#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <string>

// A text drawn over the scene that acts as a button.
struct ScreenButton {
    // Where the text image is drawn: its top left corner, with y counted up from the bottom of
    // the window as the overlay draws it.
    int x = 0, y = 0;
    // The top of the text in window pixels counted down from the top, as mouse events give them.
    int hitY = 0;
    int width = 0, height = 0;
    std::function<void()> action;
    // Set by the game's threads and read by the frame.
    std::atomic<bool> enabled{false};
    std::atomic<bool> hovered{false};

    // Strictly inside the text's rectangle.
    bool contains(int mouseX, int mouseY) const;
};

// The four buttons ordered by text, as the frame draws them and a click tries them.
using ScreenButtons = std::map<std::string, ScreenButton>;

inline const std::string newGameButton = "New game";
inline const std::string settingsButton = "Settings";
inline const std::string undoButton = "Undo";
inline const std::string redoButton = "Redo";

struct ButtonPlace {
    int x = 0, y = 0, hitY = 0; // as in ScreenButton
    bool operator==(const ButtonPlace&) const = default;
};

// Where a button of the given text and size stands in a window of the given size: "New game"
// top right, "Settings" bottom right, "Undo" and "Redo" at the left and right edges half-way up,
// each at the same distance from its edges whatever the size.
ButtonPlace buttonPlace(const std::string& text, int buttonWidth, int buttonHeight, int windowWidth,
                        int windowHeight);

// Places the buttons, whose width and height are known, in a window of the given size.
void layOutButtons(ScreenButtons& buttons, int windowWidth, int windowHeight);
