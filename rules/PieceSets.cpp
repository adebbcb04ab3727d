#include "PieceSets.h"

#include "Move.h"
#include "Position.h"

namespace {

constexpr uint64_t darkSquares = 0xAA55AA55AA55AA55ULL; // a1 dark, b1 light, ...

} // namespace

PieceSets PieceSets::of(const Position& position) {
    PieceSets sets{};
    for (int bit = 0; bit < 64; ++bit) {
        const int code = position.board[geometry.cellOf[bit]];
        if (code != Empty) {
            sets.put(bit, code);
        }
    }
    return sets;
}

void PieceSets::followMove(const Move& m, const Position& before) {
    // The same cell writes as makeMove, in its order; the codes being replaced are read from
    // the board before the move, and clearing is idempotent, so cells a move writes twice
    // come out right.
    const int from = squareIndex(m.fromFile, m.fromRank);
    const int to = squareIndex(m.toFile, m.toRank);
    if (m.isCapture) {
        const int capture = squareIndex(m.captureFile, m.captureRank);
        clear(geometry.bitOf[capture], before.board[capture]);
    }
    clear(geometry.bitOf[from], before.board[from]);
    clear(geometry.bitOf[to], before.board[to]);
    if (m.resultPiece != Empty) {
        put(geometry.bitOf[to], m.resultPiece);
    }
    if (m.hasCompanion) {
        followMove(*m.companion, before);
    }
}

// A side whose king is not on its recorded square has no king on the board: never in check.
bool PieceSets::whiteKingAttacked(const Position& position) const {
    const int file = position.whiteKingFile, rank = position.whiteKingRank;
    return onBoard(file, rank) && (byCode[WhiteKing] >> squareBit(file, rank) & 1) != 0 &&
           attacked(squareBit(file, rank), false);
}

bool PieceSets::blackKingAttacked(const Position& position) const {
    const int file = position.blackKingFile, rank = position.blackKingRank;
    return onBoard(file, rank) && (byCode[BlackKing] >> squareBit(file, rank) & 1) != 0 &&
           attacked(squareBit(file, rank), true);
}

bool PieceSets::insufficientMaterial() const {
    const uint64_t heavy = byCode[WhitePawn] | byCode[BlackPawn] | byCode[WhiteRook] |
                           byCode[BlackRook] | byCode[WhiteQueen] | byCode[BlackQueen];
    if (heavy != 0) {
        return false;
    }
    const int knights = count[WhiteKnight] + count[BlackKnight];
    const uint64_t bishops = byCode[WhiteBishop] | byCode[BlackBishop];
    if (knights == 0) {
        return (bishops & darkSquares) == 0 || (bishops & ~darkSquares) == 0;
    }
    return knights == 1 && bishops == 0;
}
