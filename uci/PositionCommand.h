#pragma once

#include <string>
#include <string_view>

class Position;

// Sets the game to what the arguments of "position" describe: "startpos" or "fen" and a FEN
// record, then optionally "moves" and the moves played from there, each checked against the
// rules. The game keeps the moves as its history, so repetitions count. Returns an empty text,
// or a sentence naming what could not be read, with the game left as it was.
std::string setUpGame(Position& game, std::string_view arguments);
