#pragma once

#include "Position.h"

// The sounds the window plays, one for each thing a move can bring.
enum class GameSound { Move, Capture, Check, GameEnd };

inline constexpr int gameSoundCount = 4;

// The data file of each sound, by its number.
inline constexpr const char* gameSoundFiles[gameSoundCount] = {
    "sounds/move.wav", "sounds/capture.wav", "sounds/check.wav", "sounds/end.wav"};

// The one sound for a move just made on `after`: the end of the game says more than a check,
// a check more than a capture.
GameSound soundOfMove(const Position& after, bool captured, int legalMovesAfter);
