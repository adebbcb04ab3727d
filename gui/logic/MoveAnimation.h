#pragma once

#include "Camera.h"

#include <cstdint>

class Move;

// An engine move slides its pieces over this many milliseconds.
constexpr uint32_t animationMilliseconds = 500;

// Fraction of the animation done at `now` (milliseconds of the toolkit clock), 1 at its end.
double animationFraction(uint32_t now, uint32_t animationStart);

// Where the moving piece of `move` stands at fraction t, easing in and out, in board
// coordinates.
Vector3 animatedPiecePosition(const Move& move, double t);

// The piece drawn for `move` at fraction t: the pawn before half time, its promotion piece after.
int animatedPiece(const Move& move, double t);
