#include "Move.h"
#include "PieceSets.h"
#include "Position.h"

bool Position::isInsufficientMaterial() const {
    return PieceSets::of(*this).insufficientMaterial();
}

bool Position::samePositionAs(const Position& other) const {
    if (sideToMove != other.sideToMove || enPassantPossible != other.enPassantPossible) {
        return false;
    }
    if (enPassantPossible &&
        (enPassantFile != other.enPassantFile || enPassantRank != other.enPassantRank)) {
        return false;
    }
    if (sideToMove == 1) {
        if (whiteCastleKingside != other.whiteCastleKingside ||
            whiteCastleQueenside != other.whiteCastleQueenside) {
            return false;
        }
    } else if (blackCastleKingside != other.blackCastleKingside ||
               blackCastleQueenside != other.blackCastleQueenside) {
        return false;
    }
    for (int i = 10; i < 81; ++i) {
        if (board[i] != other.board[i]) {
            return false;
        }
    }
    return true;
}

bool Position::samePositionForClaims(const Position& other) const {
    return samePositionAs(other) && whiteCastleKingside == other.whiteCastleKingside &&
           whiteCastleQueenside == other.whiteCastleQueenside &&
           blackCastleKingside == other.blackCastleKingside &&
           blackCastleQueenside == other.blackCastleQueenside;
}

namespace {

// Calls visit on the positions 2, 4, 6, ... half-moves back, as far as the clock allows,
// until visit returns true.
template <typename Visit> bool anyInRepetitionWindow(const Position& pos, Visit visit) {
    const Position* node = &pos;
    for (int step = pos.halfmoveClock / 2; step > 0; --step) {
        node = node->previous;
        if (node == nullptr) {
            return false;
        }
        node = node->previous;
        if (node == nullptr) {
            return false;
        }
        if (visit(*node)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool Position::isDrawClaimable() const {
    if (halfmoveClock >= 100) {
        return true;
    }
    int occurrences = 1;
    return anyInRepetitionWindow(*this, [&](const Position& earlier) {
        return samePositionForClaims(earlier) && ++occurrences >= 3;
    });
}

bool Position::isRepetition() const {
    return anyInRepetitionWindow(*this,
                                 [&](const Position& earlier) { return samePositionAs(earlier); });
}

bool Position::isWhiteCheckmated() const {
    if (sideToMove == 0 || !isWhiteKingAttacked() || drawClaimed || isInsufficientMaterial()) {
        return false;
    }
    return hasNoLegalMoves();
}

bool Position::isBlackCheckmated() const {
    if (sideToMove == 1 || !isBlackKingAttacked() || drawClaimed || isInsufficientMaterial()) {
        return false;
    }
    return hasNoLegalMoves();
}

const char* Position::gameEndReason() const {
    if (drawClaimed) {
        return halfmoveClock < 100 ? "Threefold repetition" : "Fifty-move rule";
    }
    if (isInsufficientMaterial()) {
        return "Insufficient material";
    }
    const bool inCheck = sideToMove == 1 ? isWhiteKingAttacked() : isBlackKingAttacked();
    return inCheck ? "Checkmate" : "Stalemate";
}
