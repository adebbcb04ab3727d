#pragma once

#include "Piece.h"

#include <cstdint>

// Bit of square (file, rank) in a 64-bit square set. a1 = 0, b1 = 1, ..., h8 = 63: rising bits
// follow the generator's scan, rank by rank from a1.
constexpr int squareBit(int file, int rank) {
    return (rank - 1) * 8 + file - 1;
}

constexpr bool onBoard(int file, int rank) {
    return file >= 1 && file <= 8 && rank >= 1 && rank <= 8;
}

inline constexpr int knightJumps[8][2] = {{2, 1}, {2, -1}, {-2, 1}, {-2, -1},
                                          {1, 2}, {1, -2}, {-1, 2}, {-1, -2}};
inline constexpr int kingSteps[8][2] = {{0, 1},  {0, -1}, {-1, 0}, {1, 0},
                                        {-1, 1}, {1, 1},  {1, -1}, {-1, -1}};
// Rook rays first, then bishop rays, each in generation order; a queen uses all eight.
inline constexpr int rayDirections[8][2] = {{0, 1},  {0, -1}, {1, 0},  {-1, 0},
                                            {-1, 1}, {1, 1},  {1, -1}, {-1, -1}};
// Whether a ray runs towards higher bits, so that its nearest square in a set is the lowest bit.
inline constexpr bool rayRises[8] = {true, false, true, false, true, true, false, false};

// Board geometry, computed at compile time: for every cell the cells along each ray, the knight
// targets and the king's neighbours, in generation order and without off-board entries; and the
// same relations as square sets, indexed by square bit.
struct BoardGeometry {
    uint8_t ray[81][8][7];
    uint8_t rayLength[81][8];
    uint8_t knight[81][8];
    uint8_t knightCount[81];
    uint8_t king[81][8];
    uint8_t kingCount[81];
    uint8_t fileOf[81];
    uint8_t rankOf[81];
    uint8_t bitOf[81];
    uint8_t cellOf[64];
    uint64_t rayMask[64][8];
    // The four rook rays together, and the four bishop rays.
    uint64_t straightLines[64];
    uint64_t diagonalLines[64];
    uint64_t knightMask[64];
    uint64_t kingMask[64];
    // Squares from which a pawn attacks the square: [1] White pawns (one rank below), [0] Black.
    uint64_t pawnAttackers[2][64];
    // The ray from the first square that passes the second, or -1 when none does.
    int8_t rayTowards[64][64];

    constexpr BoardGeometry()
        : ray{}, rayLength{}, knight{}, knightCount{}, king{}, kingCount{}, fileOf{}, rankOf{},
          bitOf{}, cellOf{}, rayMask{}, straightLines{}, diagonalLines{}, knightMask{}, kingMask{},
          pawnAttackers{}, rayTowards{} {
        for (auto& from : rayTowards) {
            for (auto& d : from) {
                d = -1;
            }
        }
        for (int file = 1; file <= 8; ++file) {
            for (int rank = 1; rank <= 8; ++rank) {
                const int sq = squareIndex(file, rank);
                const int bit = squareBit(file, rank);
                fileOf[sq] = static_cast<uint8_t>(file);
                rankOf[sq] = static_cast<uint8_t>(rank);
                bitOf[sq] = static_cast<uint8_t>(bit);
                cellOf[bit] = static_cast<uint8_t>(sq);
                for (int d = 0; d < 8; ++d) {
                    int f = file + rayDirections[d][0], r = rank + rayDirections[d][1];
                    while (onBoard(f, r)) {
                        ray[sq][d][rayLength[sq][d]++] = static_cast<uint8_t>(squareIndex(f, r));
                        rayMask[bit][d] |= uint64_t{1} << squareBit(f, r);
                        rayTowards[bit][squareBit(f, r)] = static_cast<int8_t>(d);
                        (d < 4 ? straightLines : diagonalLines)[bit] |= uint64_t{1}
                                                                        << squareBit(f, r);
                        f += rayDirections[d][0];
                        r += rayDirections[d][1];
                    }
                }
                for (int j = 0; j < 8; ++j) {
                    const int f = file + knightJumps[j][0], r = rank + knightJumps[j][1];
                    if (onBoard(f, r)) {
                        knight[sq][knightCount[sq]++] = static_cast<uint8_t>(squareIndex(f, r));
                        knightMask[bit] |= uint64_t{1} << squareBit(f, r);
                    }
                    const int kf = file + kingSteps[j][0], kr = rank + kingSteps[j][1];
                    if (onBoard(kf, kr)) {
                        king[sq][kingCount[sq]++] = static_cast<uint8_t>(squareIndex(kf, kr));
                        kingMask[bit] |= uint64_t{1} << squareBit(kf, kr);
                    }
                }
                for (int df = -1; df <= 1; df += 2) {
                    if (onBoard(file + df, rank - 1)) {
                        pawnAttackers[1][bit] |= uint64_t{1} << squareBit(file + df, rank - 1);
                    }
                    if (onBoard(file + df, rank + 1)) {
                        pawnAttackers[0][bit] |= uint64_t{1} << squareBit(file + df, rank + 1);
                    }
                }
            }
        }
    }
};

inline constexpr BoardGeometry geometry;
