#pragma once

int perftCommand(const char* fen, int depth);
int perftSpeedCommand();
int evalCommand(const char* fen);
int searchCommand(int argc, char** argv);
int searchSpeedCommand();
