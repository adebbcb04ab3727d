#pragma once

#include <string_view>

class Move;
class Position;

// What reading a move text against a position found.
enum class SanReading {
    Legal,     // the move is filled in
    NotAMove,  // the text does not have the form of a move
    NotLegal,  // no legal move of the side to move fits the text
    Ambiguous, // more than one legal move fits it
};

// Reads a move in standard algebraic notation as other programs write it: check and mate marks
// present, missing or wrong; annotation marks ("!", "?", "!?", ...) and "e.p." after the move;
// castling with the letter O or the digit 0; a promotion with or without "=" (a pawn that
// reaches the last rank without a named piece becomes a queen); an origin that names more than
// it has to, up to the full square ("Ng1f3", "Ng1-f3"); long algebraic and coordinate notation
// ("e2-e4", "g1f3", "e1g1" for castling); "x" on a capture or not. A capture mark for a pawn
// without its origin file ("xd5") means a capture. The move is filled
// in bound to `position`, which is not changed. Constant work for every kind of move but
// castling, which asks the move generator.
SanReading readSan(Position& position, std::string_view text, Move& move);
