#pragma once

#include <cstdint>

// Cell codes of the board. Black codes are the White codes plus 6.
enum Piece : int32_t {
    Empty = 0,
    WhiteKing = 1,
    WhiteQueen = 2,
    WhiteRook = 3,
    WhiteBishop = 4,
    WhiteKnight = 5,
    WhitePawn = 6,
    BlackKing = 7,
    BlackQueen = 8,
    BlackRook = 9,
    BlackBishop = 10,
    BlackKnight = 11,
    BlackPawn = 12,
};

constexpr bool isWhitePiece(int code) {
    return code >= WhiteKing && code <= WhitePawn;
}
constexpr bool isBlackPiece(int code) {
    return code >= BlackKing && code <= BlackPawn;
}

// Index of square (file, rank), both 1..8, in Position::board.
constexpr int squareIndex(int file, int rank) {
    return file * 9 + rank;
}
