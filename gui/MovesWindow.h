#pragma once

#include "Toolkit.h"

#include <string>
#include <vector>

// "Moves": the game's moves in standard algebraic notation by move number, the last one marked,
// scrolled to the end when moves come. A passive window in the top left corner, off the board:
// the board stays playable while it is shown.
class MovesWindow : public ToolkitWindow {
public:
    MovesWindow();
    // The moves of the game, White's first move first; guiLock held.
    void setMoves(std::vector<std::string> moves);
    float minimumWidth() const override;
    void drawContents() override;

private:
    std::vector<std::string> moves_;
    bool scrollToEnd_ = false;
};
