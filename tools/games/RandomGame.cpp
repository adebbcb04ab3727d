#include "RandomGame.h"

#include "Fen.h"
#include "Move.h"
#include "San.h"

bool randomLegalMove(Position& position, std::mt19937& random, Move& chosen) {
    Position scratch = position;
    MoveList list(&position);
    const int count = position.generateMoves(list, scratch, false);
    if (count == 0) {
        return false;
    }
    chosen = list[static_cast<int>(random() % static_cast<unsigned>(count))];
    chosen.position = &position;
    return true;
}

RandomGame randomGame(std::mt19937& random, int plies, int setUpPlies) {
    RandomGame game;
    Position position{};
    position.setInitialPosition();
    position.halfmoveClock = 0;
    position.previous = nullptr;
    Move move(&position);
    for (int ply = 0; ply < setUpPlies && randomLegalMove(position, random, move); ++ply) {
        position.makeMove(move);
    }
    if (setUpPlies > 0) {
        game.fen = toFen(position);
    }
    game.start = position;
    for (int ply = 0; ply < plies && !position.isInsufficientMaterial() &&
                      randomLegalMove(position, random, move);
         ++ply) {
        game.san.push_back(sanText(position, move));
        game.coordinates.push_back(move.toString());
        position.makeMove(move);
    }
    game.end = position;
    return game;
}
