#pragma once

#include "Lwo.h"

// How finely a piece is cut: the segments around a turned piece, and the divisor of the steps
// of its arcs (and of the knight's head grid).
struct Detail {
    int turns;
    int arcDivisor;
    int arcSteps(int full) const { return (full + arcDivisor - 1) / arcDivisor; }
};
// The pieces as they stand on the board.
constexpr Detail fullDetail{32, 1};
// Their mirror image in the board, which is seen only faintly through it.
constexpr Detail coarseDetail{16, 2};

// The models of the set in the program's frame: y up, the board surface at y = 0, a piece's
// origin at the centre of its square (squares are 2 units wide), the knight looking along +z.
LwoMesh kingMesh(const Detail& detail = fullDetail);
LwoMesh queenMesh(const Detail& detail = fullDetail);
LwoMesh rookMesh(const Detail& detail = fullDetail);
LwoMesh bishopMesh(const Detail& detail = fullDetail);
LwoMesh knightMesh(const Detail& detail = fullDetail);
LwoMesh pawnMesh(const Detail& detail = fullDetail);
// The frame and base around the 16 x 16 playing surface, centred on the origin, just below y = 0.
LwoMesh boardMesh();
