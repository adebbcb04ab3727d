#pragma once

#include "Exceptions.h"
#include "Position.h"

#include <string>
#include <string_view>

// Thrown by readFen; the message names what is wrong, in words fit for the user.
class InvalidFenException : public VeltmarkException {
public:
    using VeltmarkException::VeltmarkException;
};

// A position read from Forsyth-Edwards notation, with the move number that the position has no
// field for.
struct FenPosition {
    Position position; // previous link null, no draw claimed
    int fullmoveNumber = 1;
};

// Reads a FEN record: piece placement, side to move, castling, en-passant square, half-move
// clock and move number. Forgives what real files often get wrong: a move number of 0, a
// missing en-passant field, missing clock fields (and a missing castling field), castling
// rights whose king or rook has left its square (they are dropped). Throws InvalidFenException
// for anything else, and for a position that no game can reach in ways that would mislead the
// engine: a side without exactly one king, more than 16 pieces or 8 pawns, a pawn on the first
// or last rank, or the side that has just moved left in check.
FenPosition readFen(std::string_view text);

// The same for callers that only need to know whether it worked: false, and the position left
// as it was, for a record that readFen rejects.
bool setFromFen(Position& position, std::string_view text);

// The position in FEN. The en-passant square is written only when a pawn can take there, as the
// position records it.
std::string toFen(const Position& position, int fullmoveNumber = 1);
