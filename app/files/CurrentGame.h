#pragma once

#include "PgnReader.h"

#include <optional>
#include <string>

// The game in progress in the window, kept in the user's data directory after every change so
// that a crash or a killed window does not lose it; offered to continue at the next start.
inline constexpr const char* currentGameName = "current-game.pgn";

// How many of the kept game's moves are on the board; the rest were taken back and can be
// replayed. A tag of the kept game only; the archive does not carry it.
inline constexpr const char* pliesOnBoardTag = "PliesOnBoard";

// $XDG_DATA_HOME/veltmark/current-game.pgn, else ~/.local/share/veltmark/current-game.pgn;
// nothing when neither variable is set.
std::optional<std::string> currentGamePath();

struct UnfinishedGame {
    PgnGameRecord record;
    int pliesOnBoard = 0; // at most record.moves.size()
};

// The kept game when it is one to offer: it has moves and was not finished. Nothing for a file
// that is missing or holds a finished or empty game; nothing, and `error` set, for one that
// cannot be read.
std::optional<UnfinishedGame> unfinishedGameIn(const std::string& path, std::string& error);

// The question that offers it, with its date and how many moves it has.
std::string continueQuestion(const UnfinishedGame& game);
