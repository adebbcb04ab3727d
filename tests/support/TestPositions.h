#pragma once

#include "Fen.h"
#include "Move.h"
#include "Position.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline Position fromFen(const std::string& fen) {
    Position p{};
    EXPECT_TRUE(setFromFen(p, fen)) << fen;
    return p;
}

inline Position startingPosition() {
    Position p{};
    p.setInitialPosition();
    p.halfmoveClock = 0;
    p.previous = nullptr;
    return p;
}

// The generator's entries as coordinate texts, all of them or only the legal ones.
inline std::vector<std::string> moveTexts(const Position& p, bool allPieces = false,
                                          bool legalOnly = true) {
    Position generating = p;
    Position scratch = p;
    MoveList list(&generating);
    const int n = generating.generateMoves(list, scratch, allPieces);
    std::vector<std::string> texts;
    for (int i = 0; i < n; ++i) {
        if (!legalOnly || list[i].isLegal) {
            texts.push_back(list[i].toString());
        }
    }
    return texts;
}

// A game as the front-ends hold it: the position owns its history, and the redo chain starts at
// it. Frees the history on destruction.
struct Game {
    Position position;
    explicit Game(const Position& start) : position(start) {
        position.previous = nullptr;
        redoHead = &position;
    }
    explicit Game(const std::string& fen) : Game(fromFen(fen)) {}
    Game() : Game(startingPosition()) {}
    ~Game() {
        position.clearHistory();
        redoHead = nullptr;
    }
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;
};

// Plays a move given as coordinate text on the game position, as the front-ends do.
inline void play(Position& game, const std::string& text) {
    Move m(&game);
    ASSERT_TRUE(m.fromString(text)) << text;
    game.pushHistory();
    game.makeMove(m);
}

// Equality of everything that is meaningful in a position.
inline bool meaningfullyEqual(const Position& a, const Position& b) {
    for (int i = 0; i < 81; ++i) {
        if (a.board[i] != b.board[i]) {
            return false;
        }
    }
    if (a.enPassantPossible != b.enPassantPossible ||
        (a.enPassantPossible &&
         (a.enPassantFile != b.enPassantFile || a.enPassantRank != b.enPassantRank))) {
        return false;
    }
    return a.sideToMove == b.sideToMove && a.whiteCastleKingside == b.whiteCastleKingside &&
           a.whiteCastleQueenside == b.whiteCastleQueenside &&
           a.blackCastleKingside == b.blackCastleKingside &&
           a.blackCastleQueenside == b.blackCastleQueenside && a.whiteKingFile == b.whiteKingFile &&
           a.whiteKingRank == b.whiteKingRank && a.blackKingFile == b.blackKingFile &&
           a.blackKingRank == b.blackKingRank && a.drawClaimed == b.drawClaimed &&
           a.halfmoveClock == b.halfmoveClock && a.previous == b.previous;
}
