#pragma once

#include "BoardPicking.h"

#include <optional>

// How presses and releases of the left button on the board make a move: either press on a
// piece, drag and release on its target, or click the piece and then click the target. The
// front-end keeps the picked piece and its targets; this decides what each press and release
// does with them.
class MoveGesture {
public:
    enum class Step {
        Nothing,
        // Pick up the piece under the mouse, in place of any piece picked before.
        PickUp,
        Drop,
        // Move the picked piece to the square under the mouse.
        Move,
    };

    // What the board shows under the mouse at a press or a release.
    struct Under {
        std::optional<Square> square;
        bool ownPiece = false; // a piece of the side to move stands there
        bool target = false;   // a legal target of the picked piece
    };

    Step pressed(std::optional<Square> picked, const Under& under);
    Step released(std::optional<Square> picked, const Under& under);
    // A pick dropped from outside (Escape, a new game) ends any press in progress too.
    void reset() { press = Press::None; }

private:
    enum class Press {
        None,
        // The button went down on a piece and picked it up.
        PickedIt,
        // The button went down on the piece that was already picked.
        OnPicked,
    };
    Press press = Press::None;
};
