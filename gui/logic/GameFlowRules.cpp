#include "GameFlowRules.h"

namespace {

bool whiteIsEngine(const Settings& s) {
    return s.whitePlayer == 1;
}
bool blackIsEngine(const Settings& s) {
    return s.blackPlayer == 1;
}

} // namespace

bool isEnginesTurn(const Position& game, const Settings& s) {
    return game.sideToMove == 1 ? whiteIsEngine(s) : blackIsEngine(s);
}

std::string gameEndAnnouncement(const Position& game) {
    if (game.isBlackCheckmated()) {
        return "The game has ended\nin a checkmate.\nWhite player has won.";
    }
    if (game.isWhiteCheckmated()) {
        return "The game has ended\nin a checkmate.\nBlack player has won.";
    }
    return "The game has ended\nin a draw.\nNeither player has won.";
}

bool shouldOfferDrawClaim(const Position& game, const Settings& s) {
    return (s.whitePlayer == 0 || s.blackPlayer == 0) && game.isDrawClaimable();
}

int movesInRecord(const Position& game) {
    int count = 0;
    for (const Position* p = game.previous; p != nullptr; p = p->previous) {
        ++count;
    }
    return count;
}

int positionsToRedo(const Position& game) {
    int count = 0;
    for (const Position* p = redoHead; p != nullptr && p != &game; p = p->previous) {
        ++count;
    }
    return count;
}

int halfMovesToUndo(const Position& game, const Settings& s) {
    // The side to move did not make the last move.
    const bool engineMovedLast = game.sideToMove == 1 ? blackIsEngine(s) : whiteIsEngine(s);
    return engineMovedLast ? 2 : 1;
}

UndoRedoButtons buttonsAfterUndo(const Position& game, const Settings& s) {
    UndoRedoButtons buttons;
    buttons.redo = true;
    const int moves = movesInRecord(game);
    // The engine's opening move is not taken back on its own.
    buttons.undo = moves > 0 && !(moves == 1 && whiteIsEngine(s));
    return buttons;
}

UndoRedoButtons buttonsAfterRedo(const Position& game) {
    return {true, positionsToRedo(game) > 0};
}

UndoRedoButtons buttonsAfterSettingsChange(const Position& game, const Settings& s,
                                           UndoRedoButtons before) {
    UndoRedoButtons buttons;
    const bool someHuman = !whiteIsEngine(s) || !blackIsEngine(s);
    const int moves = movesInRecord(game);
    buttons.undo = someHuman && moves > 0 && (!whiteIsEngine(s) || moves >= 2);

    const int redoable = positionsToRedo(game);
    if (redoable == 0 || (whiteIsEngine(s) && blackIsEngine(s))) {
        buttons.redo = false;
    } else if (redoable > 1) {
        buttons.redo = true;
    } else {
        buttons.redo = isEnginesTurn(game, s) ? false : before.redo;
    }
    return buttons;
}
