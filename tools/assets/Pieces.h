#pragma once

#include "Lwo.h"

// The models of the set in the program's frame: y up, the board surface at y = 0, a piece's
// origin at the centre of its square (squares are 2 units wide), the knight looking along +z.
LwoMesh kingMesh();
LwoMesh queenMesh();
LwoMesh rookMesh();
LwoMesh bishopMesh();
LwoMesh knightMesh();
LwoMesh pawnMesh();
// The frame and base around the 16 x 16 playing surface, centred on the origin, just below y = 0.
LwoMesh boardMesh();
