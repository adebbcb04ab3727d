#include "MoveAnimation.h"

#include "Move.h"

#include <cmath>
#include <numbers>

double animationFraction(uint32_t now, uint32_t animationStart) {
    return static_cast<uint32_t>(now - animationStart) * (1.0 / animationMilliseconds);
}

Vector3 animatedPiecePosition(const Move& move, double t) {
    const double e = 0.5 - 0.5 * std::cos(std::numbers::pi * t);
    return {(move.fromFile * (1 - e) + move.toFile * e) * 2, 0,
            (move.fromRank * (1 - e) + move.toRank * e) * -2};
}

int animatedPiece(const Move& move, double t) {
    return t < 0.5 ? move.piece : move.resultPiece;
}
