#pragma once

#include "Toolkit.h"

#include <functional>
#include <string>
#include <vector>

// "Moves": the game's moves in standard algebraic notation by move number, the last one on the
// board marked and those taken back after it dimmed, scrolled to the marked one when it changes.
// A click on a move asks for the board after it. A passive window in the top left corner, off
// the board: the board stays playable while it is shown.
class MovesWindow : public ToolkitWindow {
public:
    // `stepTo` gets the number of moves to show on the board, inside a frame.
    explicit MovesWindow(std::function<void(int)> stepTo);
    // The moves of the game, the first move first, of which the first `onBoard` are on the
    // board; numbered from `firstNumber`, and Black's when `blackFirst`. guiLock held.
    void setMoves(std::vector<std::string> moves, int onBoard, int firstNumber = 1,
                  bool blackFirst = false);
    float minimumWidth() const override;
    void drawContents() override;

private:
    std::function<void(int)> stepTo_;
    std::vector<std::string> moves_;
    int onBoard_ = 0;
    int firstNumber_ = 1;
    bool blackFirst_ = false;
    bool scrollToMarked_ = false;
};
