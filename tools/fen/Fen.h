#pragma once

#include <optional>
#include <string>

class Position;

// Developer helper: the program itself sets positions up only through xboard edit mode, but the
// benchmark and the tests describe positions in Forsyth-Edwards notation. Returns false for text
// that is not a FEN record; the position's previous link is set to null.
bool setFromFen(Position& position, const std::string& fen);

// The position in FEN (half-move clock included, move number always 1).
std::string toFen(const Position& position);
