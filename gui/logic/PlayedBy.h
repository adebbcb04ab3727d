#pragma once

#include <string>
#include <vector>

// Who made each move of a game, so that the archive names who played each side rather than
// who plays it when the game is saved. A side that changed hands is named by its players in
// the order they played it, joined by " / " ("Veltmark / Human").
class PlayedBy {
public:
    // A new game whose first move is White's, or Black's.
    void reset(bool whiteMovesFirst);
    // A game taken over with `plies` moves already made, White's by `white` and Black's by
    // `black` (names as the tags give them, joined ones included).
    void takeOver(bool whiteMovesFirst, int plies, const std::string& white,
                  const std::string& black);
    // The move with this index from the game's start was made by `player`; the moves after it,
    // which it replaces, are forgotten.
    void moveMade(int index, const std::string& player);

    // Who played each side in the game's first `plies` moves; `toMove`, who plays that side
    // now, when it has made none of them.
    std::string white(int plies, const std::string& toMove) const;
    std::string black(int plies, const std::string& toMove) const;

private:
    std::string side(bool forWhite, int plies, const std::string& toMove) const;

    bool whiteMovesFirst_ = true;
    std::vector<std::string> movers_;
};
