#pragma once

#include "Piece.h"

// Counts the material that decides whether mate is still possible. Kings do not count; bishops
// are told apart by the colour of their square (dark when file + rank is even).
struct MaterialTally {
    int pawnsRooksQueens = 0;
    int knights = 0;
    int lightBishops = 0;
    int darkBishops = 0;

    void add(int piece, int file, int rank) {
        switch (piece) {
        case WhiteKing:
        case BlackKing:
            break;
        case WhiteKnight:
        case BlackKnight:
            ++knights;
            break;
        case WhiteBishop:
        case BlackBishop:
            ++((file + rank) % 2 == 0 ? darkBishops : lightBishops);
            break;
        default:
            ++pawnsRooksQueens;
            break;
        }
    }

    // Bare kings, bishops all on squares of one colour, or one knight and no bishop.
    bool insufficient() const {
        if (pawnsRooksQueens > 0) {
            return false;
        }
        if (knights == 0) {
            return lightBishops == 0 || darkBishops == 0;
        }
        return knights == 1 && lightBishops + darkBishops == 0;
    }
};
