#include "LegalMove.h"

#include "Position.h"

#include <string>

std::optional<Move> legalMoveFromText(Position& position, std::string_view text) {
    // The parser reads the first four characters and a fifth; a longer text is not a move.
    const bool castlingText = text == "0-0" || text == "0-0-0";
    if (!castlingText && text.size() != 4 && text.size() != 5) {
        return std::nullopt;
    }
    Move move(&position);
    if (!move.fromString(std::string(text))) {
        return std::nullopt;
    }
    Position generating = position;
    Position scratch = position;
    MoveList list(&generating);
    const int count = generating.generateMoves(list, scratch, false);
    for (int i = 0; i < count; ++i) {
        const Move& legal = list[i];
        if (legal.isLegal && legal.fromFile == move.fromFile && legal.fromRank == move.fromRank &&
            legal.toFile == move.toFile && legal.toRank == move.toRank &&
            legal.resultPiece == move.resultPiece) {
            return move;
        }
    }
    return std::nullopt;
}
