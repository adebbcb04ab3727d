#pragma once

#include "Move.h"

#include <optional>
#include <string_view>

class Position;

// The move that a coordinate text (e2e4, e7e8q, e1g1; also 0-0 and 0-0-0) names, if the side to
// move may play it in the position; bound to that position. Nothing for any other text, a text
// with more after the move, or a promotion letter on a move that promotes nothing.
std::optional<Move> legalMoveFromText(Position& position, std::string_view text);
