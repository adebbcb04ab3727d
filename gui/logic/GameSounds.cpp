#include "GameSounds.h"

GameSound soundOfMove(const Position& after, bool captured, int legalMovesAfter) {
    if (legalMovesAfter == 0) {
        return GameSound::GameEnd;
    }
    if (after.isWhiteKingAttacked() || after.isBlackKingAttacked()) {
        return GameSound::Check;
    }
    return captured ? GameSound::Capture : GameSound::Move;
}
