#pragma once

#include "Piece.h"

#include <cstdint>

// A score as seen from White, whoever is to move; a pawn is worth 200.
using Score = int32_t;
constexpr Score MateScore = 100000;

// What a piece is worth by its code, both colours alike; -1 for an empty cell. The exchange
// evaluation weighs captures with it and the evaluation's material term counts it, so the two
// can never disagree on what a piece is worth. The king's value only makes it the last piece
// to give up in an exchange: material counts no kings.
constexpr int pieceValue(int code) {
    switch (code) {
    case WhiteKing:
    case BlackKing:
        return 100000;
    case WhiteQueen:
    case BlackQueen:
        return 2000;
    case WhiteRook:
    case BlackRook:
        return 1000;
    case WhiteBishop:
    case BlackBishop:
    case WhiteKnight:
    case BlackKnight:
        return 600;
    case WhitePawn:
    case BlackPawn:
        return 200;
    default:
        return -1;
    }
}
