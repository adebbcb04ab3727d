#pragma once

#include "BoardGeometry.h"

#include <bit>
#include <cstdint>

class Move;
class Position;

// Where the pieces of a position stand, as one square set per piece code (bits as squareBit).
// Derived from the board and carried along by the search next to its positions, so that the
// hot paths jump from piece to piece and test attacks with a few masks instead of walking cells.
// Position itself does not hold it: the board can be written directly (edit mode, set-ups).
struct PieceSets {
    uint64_t byCode[13]; // byCode[Empty] stays 0
    uint64_t white;
    uint64_t black;
    // Pieces of each code, kept so that nobody has to count bits (no popcount instruction is
    // assumed of the processor).
    uint8_t count[13];

    static PieceSets of(const Position& position);

    // Brings the sets from before's board to the board of before after makeMove(m).
    void followMove(const Move& m, const Position& before);

    uint64_t occupied() const { return white | black; }
    uint64_t ofSide(bool whiteSide) const { return whiteSide ? white : black; }

    // Is the square attacked by any piece of the given colour?
    bool attacked(int bit, bool byWhite) const {
        return attackedAfter(bit, byWhite, occupied(), 0);
    }

    // The same on a board changed by a move that is not made: the given occupancy, and the
    // pieces on the squares in captured taken off.
    bool attackedAfter(int bit, bool byWhite, uint64_t occupancy, uint64_t captured) const {
        const int k = byWhite ? 0 : 6;
        const uint64_t present = ~captured;
        if ((geometry.knightMask[bit] & byCode[WhiteKnight + k] & present) != 0 ||
            (geometry.pawnAttackers[byWhite ? 1 : 0][bit] & byCode[WhitePawn + k] & present) != 0 ||
            (geometry.kingMask[bit] & byCode[WhiteKing + k] & present) != 0) {
            return true;
        }
        const uint64_t straight = (byCode[WhiteQueen + k] | byCode[WhiteRook + k]) & present;
        const uint64_t diagonal = (byCode[WhiteQueen + k] | byCode[WhiteBishop + k]) & present;
        // Often no slider stands on a line through the square: one test each way settles that.
        const int first = (geometry.straightLines[bit] & straight) != 0 ? 0 : 4;
        const int last = (geometry.diagonalLines[bit] & diagonal) != 0 ? 8 : 4;
        for (int d = first; d < last; ++d) {
            const uint64_t line = geometry.rayMask[bit][d];
            const uint64_t sliders = line & (d < 4 ? straight : diagonal);
            if (sliders != 0 && (nearestOnRay(d, line & (occupancy | sliders)) & sliders) != 0) {
                return true; // only the nearest piece on a ray can attack along it
            }
        }
        return false;
    }

    // The square of set (not empty) nearest to the start of ray d.
    static uint64_t nearestOnRay(int d, uint64_t set) {
        return rayRises[d] ? set & (~set + 1) : uint64_t{1} << (63 - std::countl_zero(set));
    }

    // The king tests of Position, answered from the sets; the position supplies the king squares.
    bool whiteKingAttacked(const Position& position) const;
    bool blackKingAttacked(const Position& position) const;

    // The material test of the game-end rules.
    bool insufficientMaterial() const;

private:
    void clear(int bit, int code) {
        const uint64_t mask = ~(uint64_t{1} << bit);
        count[code] -= static_cast<uint8_t>(byCode[code] >> bit & 1);
        byCode[code] &= mask;
        white &= mask;
        black &= mask;
    }
    void put(int bit, int code) {
        const uint64_t b = uint64_t{1} << bit;
        count[code] += static_cast<uint8_t>(~byCode[code] >> bit & 1);
        byCode[code] |= b;
        if (isWhitePiece(code)) {
            white |= b;
        } else {
            black |= b;
        }
    }
};
