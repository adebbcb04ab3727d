#pragma once

int perftCommand(const char* fen, int depth);
int perftSpeedCommand();
int evalCommand(const char* fen);
int searchCommand(int argc, char** argv);
int searchSpeedCommand();
int pgnMakeCommand(const char* path, int games, unsigned seed);
int pgnSpeedCommand(const char* path, int rounds);
