#pragma once

int perftCommand(const char* fen, int depth);
int perftSpeedCommand();
