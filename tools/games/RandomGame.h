#pragma once

#include "Position.h"

#include <random>
#include <string>
#include <vector>

// Developer helper: games of random legal moves, for the PGN benchmark's large file and the
// round-trip tests. Not part of the program.
struct RandomGame {
    std::string fen;                      // the start in FEN; empty for the standard array
    Position start{};                     // previous is null
    std::vector<std::string> san;         // standard algebraic notation
    std::vector<std::string> coordinates; // the same moves in coordinate notation
    Position end{};                       // after the last move; previous is null
};

// Up to `plies` random legal moves, fewer when the game ends (no legal move, or too little
// material to mate). With `setUpPlies` > 0 the game starts from the position that many random
// moves reach, given as a FEN.
RandomGame randomGame(std::mt19937& random, int plies, int setUpPlies = 0);

// A random legal move of the position bound to `chosen`; false when there is none.
bool randomLegalMove(Position& position, std::mt19937& random, Move& chosen);
