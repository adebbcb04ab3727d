#pragma once

#include <ctime>
#include <string>
#include <utility>
#include <vector>

class Position;

// One game as the archive keeps it.
struct PgnGame {
    std::string date;               // "YYYY.MM.DD" of the game's start
    std::string white;              // "Human" or "Veltmark"
    std::string black;              // likewise
    std::string result;             // "1-0", "0-1", "1/2-1/2" or "*"
    std::vector<std::string> moves; // standard algebraic notation, the first move first
    std::string fen = {};           // the start position in FEN; empty for the standard array
    // Tags of this program's own, after the others.
    std::vector<std::pair<std::string, std::string>> extraTags = {};
};

// The game in the export format of Portable Game Notation: the seven-tag roster, the SetUp and
// FEN tags of a game that does not start from the standard array, the extra tags, a blank line,
// the movetext with move numbers (counted from the FEN's move number) in lines of at most 80
// characters ending with the result, and the blank line that separates it from the next game.
std::string pgnText(const PgnGame& game);

// The local date of the moment in the form of the Date tag.
std::string pgnDate(std::time_t moment);

// The result token of the game that stands at `current`: a mate for the side that gave it, a
// draw for every other end (stalemate, insufficient material, a claim), "*" while it goes on.
std::string pgnResult(const Position& current);

// "Human" for 0, "Veltmark" for the engine.
const char* pgnPlayerName(int player);
