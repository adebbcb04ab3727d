#pragma once

#include <string>
#include <vector>

class Move;
class Position;

// The move in standard algebraic notation on the position it is played from: the piece letter,
// the least origin that tells it apart from the other legal moves of the same piece to the same
// square, "x" for a capture, "=Q" for a promotion, and "+" or "#" when it gives check or mate.
// The move must be legal there.
std::string sanText(const Position& before, const Move& move);

// The moves of the game record that ends at `current`, in standard algebraic notation, the
// first move first. The record keeps positions, not moves: each move is the legal move of one
// recorded position that gives the board of the next.
std::vector<std::string> sanMovesOfRecord(const Position& current);
