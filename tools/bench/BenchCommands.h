#pragma once

class Position;

// Sets the position from a FEN record; false, with the reason on standard error, if it is none.
bool readPosition(const char* fen, Position& p);

int perftCommand(const char* fen, int depth);
int perftSpeedCommand();
int evalCommand(const char* fen);
int searchCommand(int argc, char** argv);
int searchSpeedCommand();
int pgnMakeCommand(const char* path, int games, unsigned seed);
int pgnSpeedCommand(const char* path, int rounds);
