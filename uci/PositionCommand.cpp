#include "PositionCommand.h"

#include "Fen.h"
#include "LegalMove.h"
#include "Position.h"
#include "Words.h"

#include <vector>

std::string setUpGame(Position& game, std::string_view arguments) {
    const std::vector<std::string_view> words = wordsOf(arguments);
    std::size_t movesAt = 0;
    while (movesAt < words.size() && words[movesAt] != "moves") {
        ++movesAt;
    }
    Position start{};
    if (!words.empty() && words[0] == "startpos" && movesAt == 1) {
        start.setInitialPosition();
        start.halfmoveClock = 0;
    } else if (!words.empty() && words[0] == "fen") {
        const std::string fen = joined(words, 1, movesAt);
        try {
            start = readFen(fen).position;
        } catch (const InvalidFenException& e) {
            return "Cannot read the FEN \"" + fen + "\": " + e.what() +
                   "; the position is unchanged";
        }
    } else {
        return "position needs startpos, or fen and a FEN record, then optionally moves; "
               "not \"" +
               joined(words, 0, words.size()) + "\"; the position is unchanged";
    }
    start.previous = nullptr;

    // Every move is tried on a copy first, so that a bad one leaves the game as it was.
    Position trial = start;
    for (std::size_t i = movesAt + 1; i < words.size(); ++i) {
        const std::optional<Move> move = legalMoveFromText(trial, words[i]);
        if (!move) {
            return "The move " + std::string(words[i]) + " (number " + std::to_string(i - movesAt) +
                   " of the moves) is not a legal move there" + "; the position is unchanged";
        }
        trial.makeMove(*move);
    }
    game.clearHistory();
    game = start;
    for (std::size_t i = movesAt + 1; i < words.size(); ++i) {
        const Move move = *legalMoveFromText(game, words[i]);
        game.pushHistory();
        game.makeMove(move);
    }
    return {};
}
